// The operator page: the keys send the commands, the state comes live.
"use strict";
(() => {
  const $ = (id) => document.getElementById(id);
  let state = null;
  $("boardLink").href = R57.withToken("/board");

  function show(s) {
    state = s;
    const stop = s.stop;
    $("stopName").textContent = s.cleared ? "（表示消去中）" : (stop ? stop.name : "―");
    $("stopLine").textContent = stop
      ? `系統 ${s.route}　区間 ${s.section}　停留所 ${stop.position}/${stop.count}　整理券 ${stop.ticket}`
      : "系統: 未設定";
    const flags = [];
    if (s.lateNight) flags.push("深夜料金");
    flags.push("バックライト " + ["OFF", "ON1", "ON2"][s.backlight]);
    if (s.held) flags.push("操作盤: " + s.held);
    $("flags").textContent = flags.join("　");
    const a = s.announcement;
    $("nextLine").textContent = a.available
      ? `放送 ${a.position}/${a.count}${a.speaking ? "（放送中）" : ""}　次: ${a.next || "（なし）"}`
      : "放送: 使えません";
    $("lateNight").setAttribute("aria-pressed", String(s.lateNight));
    $("clear").setAttribute("aria-pressed", String(s.cleared));
    $("stopRequest").setAttribute("aria-pressed", String(s.stopRequested));
    for (let i = 0; i < 3; ++i) $("backlight" + i).setAttribute("aria-pressed", String(s.backlight === i));
    const busy = !!s.held;
    const usable = !!stop && !s.cleared && !busy;
    $("stepBack").disabled = $("stepForward").disabled = $("stopRequest").disabled = !usable;
    $("sayBack").disabled = $("sayNext").disabled = $("sayStop").disabled = !a.available || busy;
    $("lateNight").disabled = s.cleared || busy;
    $("clear").disabled = !stop || busy;
    $("setRoute").disabled = s.cleared || busy;
  }

  async function send(path, body) {
    $("message").textContent = "";
    const result = await R57.command(path, body);
    if (result.ok) {
      show(result.body);
    } else {
      $("message").textContent = result.body.error || ("エラー " + result.status);
    }
  }

  $("routeForm").addEventListener("submit", (event) => {
    event.preventDefault();
    send("/api/route", { route: $("route").value.trim(), section: $("section").value.trim() || "1" });
  });
  $("stepBack").onclick = () => send("/api/step", { direction: "back" });
  $("stepForward").onclick = () => send("/api/step", { direction: "forward" });
  $("sayBack").onclick = () => send("/api/announce", { direction: "back" });
  $("sayNext").onclick = () => send("/api/announce", { direction: "next" });
  $("sayStop").onclick = () => send("/api/announce/stop", {});
  $("stopRequest").onclick = () => send("/api/stop-request", {});
  $("lateNight").onclick = () => send("/api/late-night", { on: !(state && state.lateNight) });
  $("clear").onclick = () => send("/api/clear", { on: !(state && state.cleared) });
  for (let i = 0; i < 3; ++i) $("backlight" + i).onclick = () => send("/api/backlight", { state: i });

  R57.watch(show, (connected, refusal) => {
    $("link").textContent = connected ? "接続" : refusal ? "接続できません" : "切断（再接続します）";
    $("link").className = connected ? "on" : "off";
    if (refusal) {
      $("message").textContent = refusal;
      // Every key would only be refused again.
      for (const control of document.querySelectorAll("button, input")) control.disabled = true;
    }
  });
})();
