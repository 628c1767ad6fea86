// Shared by the operator page and the board mirror: the token from the
// address, the commands, and the live state over the WebSocket.
"use strict";

const R57 = (() => {
  const token = new URLSearchParams(location.search).get("token") || "";

  function withToken(path) {
    return token ? path + "?token=" + encodeURIComponent(token) : path;
  }

  // Sends a command; resolves to {ok, status, body}.
  async function command(path, body) {
    try {
      const response = await fetch(withToken(path), {
        method: "POST",
        headers: { "Content-Type": "application/json" },
        body: JSON.stringify(body || {}),
        cache: "no-store",
      });
      let answer = {};
      try { answer = await response.json(); } catch (e) { /* no JSON body */ }
      return { ok: response.ok, status: response.status, body: answer };
    } catch (e) {
      return { ok: false, status: 0, body: { error: "R57 に接続できません" } };
    }
  }

  // Why the page may not connect, for the person holding it.
  function refusalText(status, answer) {
    if (status === 401) {
      return token
        ? "トークンが違います。R57 が表示したアドレス（QR コード）から開き直してください"
        : "トークンが必要です。R57 が表示したアドレス（QR コード、…?token=…）から開いてください";
    }
    return answer.error || "接続を断られました（" + status + "）";
  }

  // Follows the state: onState(state) for every change, onLink(connected,
  // refusal) when the connection comes and goes, with the reason when R57
  // turns the page away. Reconnects by itself, but not after a refusal:
  // asking again cannot help until the page is opened anew.
  function watch(onState, onLink) {
    let delay = 500;
    // The state first: it is there at once, and its answer says why the page
    // may not connect, which a refused WebSocket tells no script.
    async function connect() {
      let response = null;
      try {
        response = await fetch(withToken("/api/state"), { cache: "no-store" });
      } catch (e) { /* not reachable now: the socket retries */ }
      if (response && (response.status === 401 || response.status === 403)) {
        let answer = {};
        try { answer = await response.json(); } catch (e) { /* no JSON body */ }
        onLink(false, refusalText(response.status, answer));
        return;
      }
      if (response && response.ok) {
        try { onState(await response.json()); } catch (e) { /* not a state */ }
      }
      const scheme = location.protocol === "https:" ? "wss://" : "ws://";
      const socket = new WebSocket(scheme + location.host + withToken("/api/events"));
      socket.onopen = () => { delay = 500; onLink(true); };
      socket.onmessage = (event) => {
        try { onState(JSON.parse(event.data)); } catch (e) { /* not a state */ }
      };
      socket.onclose = () => {
        onLink(false);
        setTimeout(connect, delay);
        delay = Math.min(delay * 2, 8000);
      };
    }
    connect();
  }

  return { token, withToken, command, watch };
})();
