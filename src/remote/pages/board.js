// The board mirror: the display window drawn on a canvas in its own units
// (921 x 307 pixels for the LED board, 1920 x 1080 for the LCD screen),
// scaled to the screen, redrawn at every state.
"use strict";
(() => {
  const Led = { w: 921, h: 307 }, Lcd = { w: 1920, h: 1080 };
  let Width = Led.w, Height = Led.h;
  // Where the display window puts things, in twips (15 to the pixel).
  const LabelTops = [375, 945, 1500, 2040, 2610, 3165, 3720];
  const CellTops = [600, 1170, 1725, 2265, 2835, 3375, 3945];
  const CellLefts = [1425, 2295, 3150, 4020, 4890, 5745, 6615, 7485, 8340, 9195, 10065, 10935, 11775, 12645];
  const CellWidth = 780 / 15, CellHeight = 300 / 15, LabelHeight = 240 / 15;
  const Strip = { x: 480 / 15, y: 885 / 15, w: 525 / 15, h: 2880 / 15 };
  const Lamp = { x: 165 / 15, y: 4155 / 15, w: 1155 / 15, h: 300 / 15 };
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
    stopRequestLamp(state ? state.stopRequested : false);
    return strip(now);
  }

  // The とまります lamp under the strip: red when lit, its words faint when dark.
  function stopRequestLamp(lit) {
    rounded(Lamp.x, Lamp.y, Lamp.w, Lamp.h, Lamp.h / 5, lit ? "#f02010" : "#3a100d");
    context.fillStyle = lit ? "#fff8e0" : "#783a32";
    context.font = 'bold 11px "IPAGothic", "Noto Sans CJK JP", sans-serif';
    context.textAlign = "center";
    context.textBaseline = "middle";
    context.fillText("とまります", Lamp.x + Lamp.w / 2, Lamp.y + Lamp.h / 2);
    context.textBaseline = "top";
  }

  // --- The LCD screen, laid out as the display window lays it out.
  const Tint = {
    back: "#0a101c", band: "#123674", text: "#fff", soft: "#c8d3e6", accent: "#ffcf1f", dark: "#101a30",
    lampOn: "#ff5a1f", lampOff: "#1f4585", last: "#d82f2f", cell: "#141e33",
  };
  const LanguageMs = 4000, PageMs = 5000, Columns = 8, Rows = 5, PerPage = Columns * Rows;
  const Words = {
    ja: ["つぎは", "ただいま", "終点"], en: ["Next", "Now at", "Last stop"],
    "zh-Hans": ["下一站", "本站", "终点站"], "zh-Hant": ["下一站", "本站", "終點站"], ko: ["다음 정류장", "이번 정류장", "종점"],
  };
  const Face = '"IPAPGothic", "Noto Sans CJK JP", "IPAGothic", "Noto Sans CJK KR", sans-serif';
  let namesKey = "", namesSince = 0, faresKey = "", faresSince = 0;

  function languagesOf(names) {
    return ["ja"].concat(["en", "zh-Hans", "zh-Hant", "ko"].filter((tag) => (names[tag] || "").trim() !== ""));
  }

  function destinationText(destination, language) {
    const ja = destination.ja || "", name = (destination[language] || "").trim();
    if (language === "ja" || !name) return ja ? ja + " 行" : "";
    if (language === "en") return "for " + name;
    if (language === "ko") return name + " 행";
    return (language === "zh-Hant" ? "開往 " : "开往 ") + name;
  }

  function fitted(text, x, y, w, h, px, bold, align) {
    if (!text) return;
    context.font = (bold ? "bold " : "") + px + "px " + Face;
    const width = context.measureText(text).width;
    if (width > w) context.font = (bold ? "bold " : "") + Math.floor(px * w / width) + "px " + Face;
    context.textBaseline = "middle";
    context.textAlign = align;
    const ax = align === "center" ? x + w / 2 : align === "right" ? x + w : x;
    context.fillText(text, ax, y + h / 2);
  }

  function rounded(x, y, w, h, r, color) {
    context.fillStyle = color;
    context.beginPath();
    context.roundRect ? context.roundRect(x, y, w, h, r) : context.rect(x, y, w, h);
    context.fill();
  }

  function drawLcd(now) {
    context.fillStyle = "#000";
    context.fillRect(0, 0, Width, Height);
    if (!state || state.cleared) return true;
    const lcd = state.lcd || {};
    const names = lcd.names || {}, fares = lcd.fares || [];
    const nk = JSON.stringify(names), fk = JSON.stringify(fares);
    if (nk !== namesKey) { namesKey = nk; namesSince = now; }
    if (fk !== faresKey) { faresKey = fk; faresSince = now; }
    const languages = languagesOf(names);
    const language = languages[Math.floor((now - namesSince) / LanguageMs) % languages.length];
    const pages = Math.max(1, Math.ceil(fares.length / PerPage));
    const page = Math.floor((now - faresSince) / PageMs) % pages;

    context.fillStyle = Tint.back;
    context.fillRect(0, 0, Width, Height);
    context.fillStyle = Tint.band;
    context.fillRect(0, 0, 1920, 150);
    if (state.route) {
      rounded(30, 22, 220, 106, 14, Tint.text);
      context.fillStyle = Tint.band;
      fitted(state.route, 40, 22, 200, 106, 84, true, "center");
      context.fillStyle = Tint.text;
      fitted(destinationText(lcd.destination || {}, language), 285, 0, 990, 150, 62, true, "left");
    }
    rounded(1300, 25, 330, 100, 50, state.stopRequested ? Tint.lampOn : Tint.lampOff);
    context.fillStyle = state.stopRequested ? Tint.text : Tint.band;
    fitted("とまります", 1315, 25, 300, 100, 58, true, "center");
    const clock = new Date();
    context.fillStyle = Tint.text;
    fitted(clock.getHours() + ":" + String(clock.getMinutes()).padStart(2, "0"), 1650, 0, 240, 150, 76, true, "right");
    if (!state.route) return true;
    if (lcd.message) {
      fitted(lcd.message, 60, 230, 1800, 260, 150, true, "center");
      return true;
    }
    const words = Words[language] || Words.ja;
    if (names.ja) {
      rounded(40, 205, 310, 110, 16, Tint.accent);
      context.fillStyle = Tint.dark;
      fitted(words[lcd.standing ? 1 : 0], 50, 205, 290, 110, 60, true, "center");
      if (lcd.lastStop) {
        rounded(40, 335, 310, 95, 16, Tint.last);
        context.fillStyle = Tint.text;
        fitted(words[2], 50, 335, 290, 95, 54, true, "center");
      }
      context.fillStyle = Tint.soft;
      fitted(language === "ja" ? names.kana || "" : names.ja, 390, 168, 1490, 100, 62, false, "left");
      context.fillStyle = Tint.text;
      fitted(names[language] || names.ja, 390, 268, 1490, 250, 190, true, "left");
    }
    context.fillStyle = Tint.lampOff;
    context.fillRect(40, 548, 1840, 4);
    context.fillStyle = Tint.soft;
    fitted(language === "ja" ? "整理券番号　運賃（円）" : "Ticket No.  Fare (yen)", 40, 560, 1300, 70, 44, false, "left");
    if (pages > 1) {
      context.fillStyle = Tint.text;
      fitted((page + 1) + "/" + pages, 1500, 560, 380, 70, 52, true, "right");
    }
    fares.slice(page * PerPage, page * PerPage + PerPage).forEach(([number, fare], slot) => {
      const x = 40 + (slot % Columns) * 230, y = 640 + Math.floor(slot / Columns) * 86;
      context.fillStyle = Tint.cell;
      context.fillRect(x + 4, y + 4, 222, 78);
      context.fillStyle = Tint.accent;
      context.fillRect(x + 4, y + 4, 80, 78);
      context.fillStyle = Tint.dark;
      fitted(number, x + 6, y + 4, 76, 78, 44, true, "center");
      context.fillStyle = Tint.text;
      fitted(fare, x + 88, y + 4, 134, 78, 58, true, "right");
    });
    return true;
  }

  let frame = 0;
  let tick = 0;
  function render() {
    cancelAnimationFrame(frame);
    clearTimeout(tick);
    const lcd = state && state.style === "lcd";
    if ((lcd ? Lcd : Led).w !== Width) {
      fit();
      return;
    }
    if (lcd) {
      // The languages, pages and clock turn by themselves.
      drawLcd(performance.now());
      tick = setTimeout(render, 250);
      return;
    }
    const scrolling = draw(performance.now());
    if (scrolling) frame = requestAnimationFrame(render);
  }

  function fit() {
    const look = state && state.style === "lcd" ? Lcd : Led;
    Width = look.w;
    Height = look.h;
    const ratio = window.devicePixelRatio || 1;
    // A phone held upright gets the board turned, reading from its right edge
    // down, rather than a strip a finger wide.
    const upright = look === Led && window.innerHeight > window.innerWidth * 1.2;
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
    const names = s.lcd && s.lcd.names ? languagesOf(s.lcd.names).map((tag) => s.lcd.names[tag]).join("、") : "";
    canvas.setAttribute("aria-label", "運賃表示器: " + (s.style === "lcd" ? names : s.strip || "") +
      (s.stopRequested ? "、とまります" : ""));
    render();
  }, (connected, refusal) => {
    const link = document.getElementById("link");
    link.textContent = connected ? "接続" : refusal || "切断（再接続します）";
    link.className = connected ? "on" : refusal ? "off refused" : "off";
  });
})();
