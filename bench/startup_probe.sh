#!/usr/bin/env bash
# Start-up as a user sees it, next to the toolkit's floor, in one run:
# tevlan on the simulated mouse and a bare frameless Qt window with one label
# (bench_bare_window), started alternately, each measured from exec to the
# MapNotify of its window and to its first pixels reaching the X server, and
# its resident memory 3 s after start. Not a test: it prints the medians,
# their ratios and the goals.
#
#   bench/startup_probe.sh [build folder] [runs of each, default 7]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-7}
probe="$build/bench/bench_startup_probe"
bare="$build/bench/bench_bare_window"
for f in "$build/tevlan" "$probe" "$bare"; do [ -x "$f" ] || { echo "build $f first" >&2; exit 1; }; done

work=$(mktemp -d /tmp/tevlan-probe.XXXXXX)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
display=:$((70 + RANDOM % 9))
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

# The data folder exists from the first start on, as for a returning user.
"$probe" 0 "$build/tevlan" --device sim --data-dir "$work/data" >/dev/null 2>&1 || true

: >"$work/tevlan.txt"; : >"$work/bare.txt"
for _ in $(seq "$runs"); do
  "$probe" 3000 "$build/tevlan" --device sim --data-dir "$work/data" 2>/dev/null >>"$work/tevlan.txt"
  "$probe" 3000 "$bare" 2>/dev/null >>"$work/bare.txt"
done
median() {  # file, field name
  awk -v k="$2" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}' "$1" | sort -n |
    awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
for m in map-ms frame-ms rss-kb; do
  t=$(median "$work/tevlan.txt" $m); b=$(median "$work/bare.txt" $m)
  case $m in
    rss-kb) awk -v t="$t" -v b="$b" 'BEGIN { printf "resident memory after 3 s: tevlan %.1f MB, bare window %.1f MB, difference %.1f MB (goal <= 3 MB)\n", t/1024, b/1024, (t-b)/1024 }' ;;
    *) awk -v m="$m" -v t="$t" -v b="$b" 'BEGIN { printf "%s: tevlan %.1f, bare window %.1f, ratio %.2f (goal <= 1.15)\n", m, t, b, t/b }' ;;
  esac
done
echo "runs of each: $runs; load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
# The start-up layout (cmake/startup_layout.cmake) only helps while its list
# names the functions the program has: a low share means the list is stale
# (tools/make_startup_order.sh writes it again).
order="$(dirname "$0")/../src/app/startup_order.txt"
if [ -f "$order" ]; then
  listed=$(grep -vc '^#' "$order")
  found=$(nm --defined-only "$build/tevlan" 2>/dev/null | awk '{print $NF}' | sort -u |
    comm -12 - <(grep -v '^#' "$order" | sort -u) | wc -l)
  linker=$(readelf -p .comment "$build/tevlan" 2>/dev/null | grep 'Linker:.*LLD' >/dev/null && echo "laid out by lld" || echo "not laid out (no lld)")
  echo "start-up layout: $found of $listed listed functions are in tevlan, $linker"
fi
echo "tevlan:";  sed 's/^/  /' "$work/tevlan.txt"
echo "bare window:"; sed 's/^/  /' "$work/bare.txt"
