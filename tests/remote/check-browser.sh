#!/usr/bin/env bash
# A real browser against the running program: starts R57 --remote on every
# address (so every request beyond the pages needs the token) under a virtual
# display in the demo data, reaches it at 127.0.0.1 only, sets a route with
# r57ctl, and has headless Chromium load the operator page and the board
# mirror with the token from the startup line: both must show the stop name
# and be connected live (the WebSocket under the pages' own CSP). Opened
# without the token, both must say that it is missing. Screenshots at a
# phone's and a tablet's size go to SHOTS_DIR for a person to look at.
#   check-browser.sh R57 R57CTL SAMPLES_DIR SHOTS_DIR
set -uo pipefail
r57="$1"; r57ctl="$2"; samples="$3"; shots="$4"
browser="$(command -v chromium || command -v chromium-browser || true)"
[ -n "$browser" ] || { echo "SKIP: no chromium"; exit 77; }
work="$(mktemp -d)"
mkdir -p "$shots"
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
failures=0

# The program keeps its settings beside itself: a copy in the work folder.
cp "$r57" "$work/R57"
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("0.0.0.0",0)); print(s.getsockname()[1])')"
url="http://127.0.0.1:$port"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
(cd "$samples" && exec xvfb-run -a -s '-screen 0 1280x800x24' "$work/R57" --remote="0.0.0.0:$port" \
  >"$work/out.log" 2>"$work/err.log") &
runner=$!
cleanup() {
  pkill -TERM -P "$runner" 2>/dev/null
  kill -TERM "$runner" 2>/dev/null
  wait "$runner" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

announced="^リモート操作: http://0\.0\.0\.0:$port/\?token=[A-Za-z0-9._~-]+$"
for _ in $(seq 100); do
  grep -Eq "$announced" "$work/out.log" 2>/dev/null && break
  sleep 0.2
done
line="$(grep -Em1 "$announced" "$work/out.log")" || { fail "R57 did not announce its address and token: $(cat "$work/out.log" "$work/err.log")"; exit 1; }
token="${line##*\?token=}"
export R57_TOKEN="$token"

"$r57ctl" --url "$url" route 12 >/dev/null || fail "r57ctl route 12"
"$r57ctl" --url "$url" next >/dev/null || fail "r57ctl next"
stop="$("$r57ctl" --url "$url" state --json | python3 -c 'import json,sys; print(json.load(sys.stdin)["stop"]["name"])')"
[ -n "$stop" ] || fail "no stop name in the state"

# The pages ask for the state and then open their WebSocket; a program built
# with the sanitizers answers slowly enough that 4 s of virtual time ran out
# before the WebSocket was up.
chrome() {
  "$browser" --headless=new --no-sandbox --disable-gpu --hide-scrollbars --no-first-run \
    --user-data-dir="$work/chromium" --virtual-time-budget=10000 "$@" 2>/dev/null
}
# The DOM of a page that should connect live. Headless virtual time does not
# wait for a WebSocket, so now and then the page is caught before its socket
# is up; up to three loads, as a person would reload.
live_dom() {
  local dom
  for _ in 1 2 3; do
    dom="$(chrome --dump-dom "$1")"
    grep -q 'id="link" class="on"' <<<"$dom" && break
  done
  printf '%s' "$dom"
}
dom="$(live_dom "$url/?token=$token")"
grep -q "id=\"stopName\"[^>]*>$stop<" <<<"$dom" || fail "the operator page does not show $stop"
grep -q 'id="link" class="on"' <<<"$dom" || fail "the operator page is not connected live"
dom="$(live_dom "$url/board?token=$token")"
grep -q "aria-label=\"運賃表示器: $stop\"" <<<"$dom" || fail "the board does not show $stop"
grep -q 'id="link" class="on"' <<<"$dom" || fail "the board is not connected live"

# Without the token the pages load but say what is missing.
dom="$(chrome --dump-dom "$url/")"
grep -q 'id="link" class="off"[^>]*>接続できません<' <<<"$dom" || fail "the operator page without the token does not say it cannot connect"
grep -q 'id="message"[^>]*>トークンが必要です' <<<"$dom" || fail "the operator page without the token does not say the token is missing"
dom="$(chrome --dump-dom "$url/board")"
grep -q 'id="link" class="off refused"[^>]*>トークンが必要です' <<<"$dom" || fail "the board without the token does not say the token is missing"
chrome --window-size=390,844 --screenshot="$shots/operator-no-token-phone.png" "$url/" >/dev/null
chrome --window-size=844,390 --screenshot="$shots/board-no-token-phone.png" "$url/board" >/dev/null

for page in "operator:/" "board:/board"; do
  name="${page%%:*}"; path="${page#*:}"
  chrome --window-size=390,844 --screenshot="$shots/$name-phone.png" "$url$path?token=$token" >/dev/null
  chrome --window-size=1024,768 --screenshot="$shots/$name-tablet.png" "$url$path?token=$token" >/dev/null
  [ -s "$shots/$name-phone.png" ] && [ -s "$shots/$name-tablet.png" ] || fail "no screenshot of $path"
done

[ $failures -eq 0 ] && echo "browser check passed ($stop); screenshots in $shots"
exit $((failures > 0))
