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

  // Follows the state: onState(state) for every change, onLink(connected)
  // when the connection comes and goes. Reconnects by itself.
  function watch(onState, onLink) {
    let delay = 500;
    // The state at once, before the socket is up.
    fetch(withToken("/api/state"), { cache: "no-store" })
      .then((response) => (response.ok ? response.json() : null))
      .then((state) => { if (state) onState(state); })
      .catch(() => {});
    function open() {
      const scheme = location.protocol === "https:" ? "wss://" : "ws://";
      const socket = new WebSocket(scheme + location.host + withToken("/api/events"));
      socket.onopen = () => { delay = 500; onLink(true); };
      socket.onmessage = (event) => {
        try { onState(JSON.parse(event.data)); } catch (e) { /* not a state */ }
      };
      socket.onclose = () => {
        onLink(false);
        setTimeout(open, delay);
        delay = Math.min(delay * 2, 8000);
      };
    }
    open();
  }

  return { token, withToken, command, watch };
})();
