#!/usr/bin/env bash
# `tevlan --hidden` on a real X server, as the desktop's autostart runs it.
# With an XEmbed tray (trayer) the tray icon is there and the main window
# is never mapped; without a tray the window shows, or it could not be
# reached at all.
#
#   hidden_start_test.sh TEVLAN
# Exits 77 (skipped) when Xvfb, trayer, xdotool or xwininfo is missing.
set -uo pipefail
tevlan=${1:?usage: hidden_start_test.sh TEVLAN}
for tool in Xvfb trayer xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done

work=$(mktemp -d /tmp/tevlan-hidden.XXXXXX)
xvfb=; tray=; app=
cleanup() {
  for p in $app $tray $xvfb; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

display=:$((170 + RANDOM % 40))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done
# Only the X server's tray: a session bus of the caller's could offer a
# StatusNotifier host that this X server knows nothing of.
unset DBUS_SESSION_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb

main_windows() { xdotool search --onlyvisible --name '^Tevlan$' 2>/dev/null; }

# Starts the program hidden and lets it settle (start-up, the deferred
# start, the first status answers); fails when it has ended.
start_hidden() {
  rm -rf "$work/data" "$work/run"; mkdir -m 700 "$work/run"
  XDG_RUNTIME_DIR="$work/run" HOME="$work" XDG_CONFIG_HOME="$work/xdg" \
    "$tevlan" --hidden --device sim --data-dir "$work/data" >"$work/log" 2>&1 &
  app=$!
  sleep 3
  kill -0 "$app" 2>/dev/null || { echo "tevlan ended:"; cat "$work/log"; exit 1; }
}
stop_app() { kill "$app" 2>/dev/null; wait "$app" 2>/dev/null; app=; }

status=0

# 1. A tray: only the icon.
trayer --edge top --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 &
tray=$!
for _ in $(seq 100); do xdotool search --class trayer >/dev/null 2>&1 && break; sleep 0.05; done
start_hidden
if [ -n "$(main_windows)" ]; then
  echo "FAIL: with a tray the window was shown"; status=1
fi
# The icon really sits in the tray: trayer's window holds an embedded client.
icons=$(for w in $(xdotool search --class trayer 2>/dev/null); do xwininfo -children -id "$w" 2>/dev/null; done |
        grep -c '^ \+0x')
if [ "$icons" -lt 1 ]; then
  echo "FAIL: no icon in the tray"; status=1
fi
stop_app
kill "$tray" 2>/dev/null; wait "$tray" 2>/dev/null; tray=

# 2. No tray: the window shows.
start_hidden
if [ -z "$(main_windows)" ]; then
  echo "FAIL: without a tray the window stayed hidden"; status=1
fi
stop_app

[ $status = 0 ] && echo "hidden start: ok"
exit $status
