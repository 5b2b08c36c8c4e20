#!/usr/bin/env bash
# Screenshots of the main window and two of its dialogs under Xvfb, taken the
# same way every time, and an optional pixel-for-pixel comparison with an
# earlier set. Not a test of the suite (it needs Xvfb, xdotool and
# ImageMagick); run it before and after a change that must not alter what the
# user sees.
#
#   tools/ui_shots.sh [build folder] OUT_DIR [BASELINE_DIR]
#
# Shots, each at scale 1.0 (1600 x 1000 screen) and 2.0 (2600 x 1600 screen):
#   main-open     the window as it starts: DPI and lighting open
#   main-windows  DPI and the pointer preferences open (lighting closed)
#   reset         the factory-reset question
#   progress      the progress dialog after a confirmed reset, the process stopped as soon
#                 as the dialog shows; its bar band is painted over because
#                 how far the bar got by then is a matter of timing
# With BASELINE_DIR every shot is compared (compare -metric AE) and the
# script exits 1 when any pixel differs.
set -uo pipefail
if [ $# -ge 3 ] || { [ $# -eq 2 ] && [ -d "$1" ] && [ -x "$1/tevlan" ]; }; then
  build=$(cd "$1" && pwd); shift
else
  build=$(cd "$(dirname "$0")/../build" && pwd)
fi
out=${1:?usage: ui_shots.sh [build] OUT_DIR [BASELINE_DIR]}
baseline=${2:-}
tevlan="$build/tevlan"
[ -x "$tevlan" ] || { echo "build $tevlan first" >&2; exit 2; }
mkdir -p "$out"

work=$(mktemp -d /tmp/tevlan-shots.XXXXXX)
xvfb=; app=
cleanup() {
  [ -n "$app" ] && { kill -CONT "$app" 2>/dev/null; kill "$app" 2>/dev/null; wait "$app" 2>/dev/null; }
  [ -n "$xvfb" ] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
  rm -rf "$work"
}
trap cleanup EXIT

start_x() {  # width height
  display=:$((150 + RANDOM % 50))
  Xvfb "$display" -screen 0 "$1x$2x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
}
stop_x() { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; xvfb=; }

# Starts the program on a fresh data folder and waits until it has settled.
start_app() {
  rm -rf "$work/data" "$work/run"; mkdir -m 700 "$work/run"
  XDG_RUNTIME_DIR="$work/run" HOME="$work" XDG_CONFIG_HOME="$work/xdg" \
    "$tevlan" --device sim --data-dir "$work/data" >/dev/null 2>&1 &
  app=$!
  for _ in $(seq 100); do
    main=$(xdotool search --onlyvisible --name '^Tevlan$' 2>/dev/null | head -1)
    [ -n "$main" ] && break
    sleep 0.1
  done
  sleep 2.5  # past the start-up check for a mouse and the first status answers
  eval "$(xdotool getwindowgeometry --shell "$main")"
  wx=$X; wy=$Y
}
stop_app() { kill -CONT "$app" 2>/dev/null; kill "$app" 2>/dev/null; wait "$app" 2>/dev/null; app=; }

# Clicks a point given in base units of the 1127 x 740 window.
click() {  # x y
  xdotool mousemove $((wx + ${1%.*} * scale)) $((wy + ${2%.*} * scale)) click 1
}
park() { xdotool mousemove 0 0; }
shot() { sleep 0.6; import -window root "$out/$1.png"; }

for scale in 1 2; do
  if [ "$scale" = 1 ]; then start_x 1600 1000; else start_x 2600 1600; fi

  start_app
  park; shot "main-open-$scale"
  # The pointer preferences header (below the open DPI and lighting panels;
  # the simulated sensor has no lift-off choice): opening it closes lighting.
  click 977 545; park; shot "main-windows-$scale"
  stop_app

  start_app
  click 1074 710; park; shot "reset-$scale"   # Reset
  stop_app

  start_app
  # Reset, then Enter: the factory reset shows the progress dialog.
  click 1074 710; sleep 0.8
  before=$(xdotool search --onlyvisible --name '^Tevlan$' 2>/dev/null | sort)
  xdotool key Return
  for _ in $(seq 400); do
    now=$(xdotool search --onlyvisible --name '^Tevlan$' 2>/dev/null | sort)
    [ -n "$(comm -13 <(echo "$before") <(echo "$now"))" ] && break
    sleep 0.005
  done
  sleep 0.1; kill -STOP "$app"
  sleep 0.3
  import -window root "$out/progress-$scale.png"
  # The bar band (base rows 66 to 78 of the 429 x 140 dialog centred on the window).
  bx=$((wx + (1127 - 429) * scale / 2)); by=$((wy + (740 - 140) * scale / 2))
  convert "$out/progress-$scale.png" -fill black \
    -draw "rectangle $bx,$((by + 66 * scale)) $((bx + 429 * scale)),$((by + 78 * scale))" "$out/progress-$scale.png"
  stop_app

  stop_x
done

[ -z "$baseline" ] && { echo "shots in $out"; exit 0; }
status=0
for f in "$baseline"/*.png; do
  name=$(basename "$f")
  if [ ! -f "$out/$name" ]; then echo "$name: missing"; status=1; continue; fi
  diff=$(compare -metric AE "$f" "$out/$name" /dev/null 2>&1)
  echo "$name: $diff pixels differ"
  [ "$diff" = 0 ] || status=1
done
exit $status
