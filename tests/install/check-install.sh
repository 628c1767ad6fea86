#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user gets:
# the layout, a desktop entry and metainfo that the desktop tools accept,
# programs that answer their command line, data the installed readers accept
# in the folder the menu starts the program in, and a quiet start.
#   check-install.sh BUILD_DIR VERSION
set -uo pipefail
build="$1"
version="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
failures=0
# Qt wants a private runtime folder; the temporary prefix is one.
export XDG_RUNTIME_DIR="$prefix"
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

share="$prefix/share/tavelo"
for f in bin/R57 bin/routeedit bin/hy3tool bin/tptool bin/tickettool bin/in4tool bin/r57ctl \
         share/tavelo/0.hy3 share/tavelo/0tp.csv share/tavelo/yomi.txt share/tavelo/plain.4SP \
         share/tavelo/sound/chime.wav share/applications/org.tavelo.Tavelo.desktop \
         share/applications/org.tavelo.RouteEditor.desktop \
         share/metainfo/org.tavelo.Tavelo.metainfo.xml \
         share/icons/hicolor/48x48/apps/org.tavelo.Tavelo.png \
         share/icons/hicolor/128x128/apps/org.tavelo.Tavelo.png \
         share/icons/hicolor/256x256/apps/org.tavelo.Tavelo.png; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ -e "$share/README.md" ] && fail "the samples' README (about the source tree) is installed"

# The menu starts the installed program in the installed demo data.
entry="$prefix/share/applications/org.tavelo.Tavelo.desktop"
grep -qx "Exec=$prefix/bin/R57" "$entry" || fail "desktop entry Exec: $(grep ^Exec= "$entry")"
grep -qx "Path=$share" "$entry" || fail "desktop entry Path: $(grep ^Path= "$entry")"
editor_entry="$prefix/share/applications/org.tavelo.RouteEditor.desktop"
grep -qx "Exec=$prefix/bin/routeedit %f" "$editor_entry" || fail "editor entry Exec: $(grep ^Exec= "$editor_entry")"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate"
  desktop-file-validate "$editor_entry" || fail "desktop-file-validate (route editor)"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --explain "$prefix/share/metainfo/org.tavelo.Tavelo.metainfo.xml" >/dev/null \
    || fail "appstreamcli validate"
fi

# The metainfo names the release being installed.
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/org.tavelo.Tavelo.metainfo.xml" \
  || fail "metainfo does not name release $version"

# The command line, without a display.
out="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/R57" --version)"
[ "$out" = "R57 $version" ] || fail "R57 --version said '$out'"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/R57" --help | grep -q -- "--version" \
  || fail "R57 --help"
err="$(env -u DISPLAY "$prefix/bin/R57" --no-such-option 2>&1 >/dev/null)"
status=$?
[ $status -eq 2 ] || fail "R57 with a bad option ended with $status"
grep -q -- "--no-such-option" <<<"$err" || fail "R57 with a bad option said '$err'"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/routeedit" --help | grep -q "路線エディタ" \
  || fail "routeedit --help"
for tool in hy3tool tptool tickettool in4tool r57ctl; do
  QT_QPA_PLATFORM=offscreen "$prefix/bin/$tool" --help >/dev/null 2>&1 || fail "$tool --help"
  QT_QPA_PLATFORM=offscreen "$prefix/bin/$tool" --version | grep -q "$version" || fail "$tool --version"
done

# The installed readers accept the installed demo routes.
for route in 0 12 35; do
  "$prefix/bin/hy3tool" check "$share/$route.hy3" >/dev/null || fail "hy3tool check $route.hy3"
  "$prefix/bin/tptool" check "$share/${route}tp.csv" >/dev/null || fail "tptool check ${route}tp.csv"
done
QT_QPA_PLATFORM=offscreen "$prefix/bin/tickettool" check "$share/full.4SP" >/dev/null || fail "tickettool check full.4SP"

# A start as from the menu on a desktop (a virtual one), ended as a session
# end ends it: no library noise, at most one line that sound is off, and the
# settings saved (beside the program when its folder can be written, as
# here, otherwise in the user's configuration folder).
config="$prefix/config"
log="$prefix/r57.log"
export TAVELO_BIN="$prefix/bin/R57"
(cd "$share" && env -u TAVELO_AUDIO_SINK -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$config" \
  xvfb-run -a -s '-screen 0 1280x800x24' bash -c '
    "$TAVELO_BIN" & pid=$!
    # An end requested during the start is carried out once the windows run.
    sleep 3
    kill -TERM $pid
    wait $pid' >"$log" 2>&1)
status=$?
[ $status -eq 0 ] || fail "R57 ended with $status after SIGTERM"
[ -s "$prefix/bin/R57.in4" ] || [ -s "$config/Tavelo/R57.in4" ] || fail "R57 saved no settings"
if grep -v "^tavelo.sound: Sound is off" "$log" | grep -q .; then
  fail "R57 printed at its start:"
  cat "$log"
fi
[ "$(grep -c "Sound is off" "$log")" -le 1 ] || fail "R57 said more than once that sound is off"

[ $failures -eq 0 ] && echo "installed layout, command line, data and start: all good"
exit $((failures > 0))
