// The board mirror: the display window drawn on a canvas in its own units
// (921 x 307 pixels), scaled to the screen, redrawn at every state.
"use strict";
(() => {
  const Width = 921, Height = 307;
  // Where the display window puts things, in twips (15 to the pixel).
  const LabelTops = [375, 945, 1500, 2040, 2610, 3165, 3720];
  const CellTops = [600, 1170, 1725, 2265, 2835, 3375, 3945];
  const CellLefts = [1425, 2295, 3150, 4020, 4890, 5745, 6615, 7485, 8340, 9195, 10065, 10935, 11775, 12645];
  const CellWidth = 780 / 15, CellHeight = 300 / 15, LabelHeight = 240 / 15;
  const Strip = { x: 480 / 15, y: 885 / 15, w: 525 / 15, h: 2880 / 15 };
  const Colors = {
    panel: "#000", frame: "#3a3a3a", cell: "#808080", unlit: "#969696", lit: "#f8d272",
    label: ["#ffffff", "#ffff80", "#80ffff"], stripBack: "#404040", dot: "#ffc080", dotOff: "#4a4a4a",
  };

  const canvas = document.getElementById("board");
  const context = canvas.getContext("2d");
  let state = null;
  let scrollStart = performance.now();
  let stripText = null;
  let stripDots = null; // [row][column] of the whole name, 16 dots wide

  // Segments a..g of each character a fare cell can light.
  const Segments = {
    "0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg", "5": "acdfg", "6": "acdefg",
    "7": "abc", "8": "abcdefg", "9": "abcdfg", "-": "g", " ": "",
  };

  function digit(x, y, w, h, lit, color) {
    const t = Math.max(1.4, w * 0.16), m = t / 2, half = h / 2;
    const bars = {
      a: [x + m, y, w - t, t], d: [x + m, y + h - t, w - t, t], g: [x + m, y + half - m, w - t, t],
      f: [x, y + m, t, half - m], b: [x + w - t, y + m, t, half - m],
      e: [x, y + half, t, half - m], c: [x + w - t, y + half, t, half - m],
    };
    context.fillStyle = color;
    for (const s of lit) {
      const [bx, by, bw, bh] = bars[s];
      context.fillRect(bx, by, bw, bh);
    }
  }

  function cell(x, y, text) {
    context.fillStyle = Colors.cell;
    context.fillRect(x, y, CellWidth, CellHeight);
    const digits = 4, dw = (CellWidth - 6) / digits, pad = 2;
    const shown = text.slice(-digits).padStart(digits, " ");
    for (let i = 0; i < digits; ++i) {
      const dx = x + 3 + i * dw + pad / 2, dy = y + 3, w = dw - pad, h = CellHeight - 6;
      digit(dx, dy, w, h, Segments["8"], Colors.unlit);
      const lit = Segments[shown[i]];
      if (lit === undefined) continue;
      digit(dx, dy, w, h, lit, Colors.lit);
    }
  }

  // The dots of a name: each character drawn at 16 x 16 and sampled.
  function dotsOf(text) {
    const chars = Array.from(text);
    const scratch = document.createElement("canvas");
    scratch.width = 16;
    scratch.height = 16 * Math.max(1, chars.length);
    const c = scratch.getContext("2d");
    c.fillStyle = "#000";
    c.fillRect(0, 0, scratch.width, scratch.height);
    c.fillStyle = "#fff";
    c.textAlign = "center";
    c.textBaseline = "middle";
    c.font = '15px "IPAGothic", "Noto Sans CJK JP", monospace';
    chars.forEach((ch, i) => c.fillText(ch === "ー" ? "｜" : ch, 8, 16 * i + 8.5));
    const pixels = c.getImageData(0, 0, scratch.width, scratch.height).data;
    const rows = [];
    for (let y = 0; y < scratch.height; ++y) {
      const row = [];
      for (let x = 0; x < 16; ++x) row.push(pixels[(y * 16 + x) * 4] > 110);
      rows.push(row);
    }
    return rows;
  }

  function strip(now) {
    context.fillStyle = Colors.stripBack;
    context.fillRect(Strip.x, Strip.y, Strip.w, Strip.h);
    const text = state ? state.strip : "";
    if (text !== stripText) {
      stripText = text;
      stripDots = text ? dotsOf(text) : null;
      scrollStart = now;
    }
    const pitch = 2, frameRows = Math.floor(Strip.h / pitch);
    const left = Strip.x + (Strip.w - 16 * pitch) / 2;
    const rows = stripDots ? stripDots.length : 0;
    // Six characters stand still; a longer name rises through the frame.
    let offset = 0;
    if (rows > frameRows) {
      const period = rows + frameRows;
      offset = Math.floor(((now - scrollStart) / 1000) * 25) % period - frameRows;
    } else if (rows > 0) {
      offset = -Math.floor((frameRows - rows) / 2);
    }
    for (let r = 0; r < frameRows; ++r) {
      const source = stripDots ? stripDots[r + offset] : undefined;
      for (let x = 0; x < 16; ++x) {
        context.fillStyle = source && source[x] ? Colors.dot : Colors.dotOff;
        context.fillRect(left + x * pitch, Strip.y + r * pitch, 1.4, 1.4);
      }
    }
    return rows > frameRows;
  }

  function draw(now) {
    context.fillStyle = Colors.panel;
    context.fillRect(0, 0, Width, Height);
    context.fillStyle = "#fff";
    context.font = 'bold 12px "IPAGothic", "Noto Sans CJK JP", sans-serif';
    context.textBaseline = "top";
    context.textAlign = "left";
    context.fillText("整理券番号➔", 8, 6);
    context.textAlign = "center";
    context.fillText("運賃は", Strip.x + Strip.w / 2, Strip.y - 18);
    context.fillText("まで", Strip.x + Strip.w / 2, Strip.y + Strip.h + 6);
    const backlight = state ? state.backlight : 0;
    for (let n = 1; n <= 98; ++n) {
      const row = Math.floor((n - 1) / 14), column = (n - 1) % 14;
      const x = CellLefts[column] / 15;
      context.fillStyle = Colors.frame;
      context.fillRect(x - 1, LabelTops[row] / 15 - 1, CellWidth + 2, (CellTops[row] - LabelTops[row]) / 15 + CellHeight + 2);
      context.fillStyle = "#000";
      context.fillRect(x, LabelTops[row] / 15, CellWidth, LabelHeight);
      context.fillStyle = Colors.label[backlight] || Colors.label[0];
      context.font = '14px "IPAGothic", "Noto Sans CJK JP", sans-serif';
      const label = state && state.labels ? state.labels[n - 1] : String(n);
      context.fillText(label, x + CellWidth / 2, LabelTops[row] / 15 + 1);
      cell(x, CellTops[row] / 15, state && state.cells ? state.cells[n - 1] : "");
    }
    return strip(now);
  }

  let frame = 0;
  function render() {
    cancelAnimationFrame(frame);
    const scrolling = draw(performance.now());
    if (scrolling) frame = requestAnimationFrame(render);
  }

  function fit() {
    const ratio = window.devicePixelRatio || 1;
    // A phone held upright gets the board turned, reading from its right edge
    // down, rather than a strip a finger wide.
    const upright = window.innerHeight > window.innerWidth * 1.2;
    const across = upright ? window.innerHeight : window.innerWidth;
    const down = upright ? window.innerWidth : window.innerHeight;
    const scale = Math.min(across / Width, down / Height);
    const w = Math.floor(Width * scale), h = Math.floor(Height * scale);
    canvas.style.width = (upright ? h : w) + "px";
    canvas.style.height = (upright ? w : h) + "px";
    canvas.width = Math.floor((upright ? h : w) * ratio);
    canvas.height = Math.floor((upright ? w : h) * ratio);
    const k = scale * ratio;
    if (upright) {
      context.setTransform(0, k, -k, 0, canvas.width, 0);
    } else {
      context.setTransform(k, 0, 0, k, 0, 0);
    }
    render();
  }

  window.addEventListener("resize", fit);
  fit();
  R57.watch((s) => {
    state = s;
    canvas.setAttribute("aria-label", "運賃表示器: " + (s.strip || ""));
    render();
  }, (connected, refusal) => {
    const link = document.getElementById("link");
    link.textContent = connected ? "接続" : refusal || "切断（再接続します）";
    link.className = connected ? "on" : refusal ? "off refused" : "off";
  });
})();
