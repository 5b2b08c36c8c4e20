#!/usr/bin/env bash
# Start-up, memory, idle CPU and apply-blocking measurements of tevlan on the
# simulated mouse under Xvfb. Not a test: it prints numbers next to their goals.
#
#   bench/run_benchmarks.sh [build folder] [idle seconds]
#
# Needs xvfb (Xvfb), and the targets tevlan and bench_apply_blocking built.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
idle=${2:-60}
tevlan="$build/tevlan"
apply="$build/bench/bench_apply_blocking"
[ -x "$tevlan" ] || { echo "build $tevlan first" >&2; exit 1; }

work=$(mktemp -d /tmp/tevlan-bench.XXXXXX)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# 1. From process start to the first painted frame, the best and the median
#    of several starts (the data folder exists after the first one).
#    The CPU time the process had used by then tells how much of the wait
#    was its own work on a machine that other processes keep busy.
runs=(); cpus=()
for i in $(seq 7); do
  start=$(now_ms)
  out=$("$tevlan" --device sim --data-dir "$work/data" --bench-first-frame 2>/dev/null)
  wall=$(echo "$out" | awk '/first-frame-wall-ms/ {print $2}')
  runs+=($(( wall - start )))
  cpus+=($(echo "$out" | awk '/first-frame-cpu-ms/ {printf "%d", $2}'))
done
sorted=($(printf '%s\n' "${runs[@]}" | sort -n))
csorted=($(printf '%s\n' "${cpus[@]}" | sort -n))
echo "first frame: best ${sorted[0]} ms, median ${sorted[3]} ms (runs: ${runs[*]}; goal < 60 ms)"
echo "first frame: CPU used by then: best ${csorted[0]} ms, median ${csorted[3]} ms"
echo "load average while measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

# 2. Resident memory after start-up and 3. CPU over idle seconds.
"$tevlan" --device sim --data-dir "$work/data" >/dev/null 2>&1 &
app=$!
sleep 3
# Resident memory counts the shared libraries' pages too (Qt alone is about
# 12 MB of them); the split says which part is the program's own. MB here is
# MiB, with one decimal: a whole-MB figure hid up to 1 MB either way.
rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
roll() { awk -v k="$1:" '$1 == k {print $2}' "/proc/$app/smaps_rollup"; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
pss=$(roll Pss); anon=$(roll Anonymous)
pclean=$(roll Private_Clean); pdirty=$(roll Private_Dirty); sclean=$(roll Shared_Clean); sdirty=$(roll Shared_Dirty)
echo "resident memory after start-up: $(mb "$rss") MB ($rss kB; goal < 35 MB); proportional $(mb "$pss") MB"
echo "  private: $(mb "$pdirty") MB written (heap, pictures, stacks: $(mb "$anon") MB anonymous) + $(mb "$pclean") MB of library pages no other process maps now"
echo "  shared: $(mb "$sclean") MB of library pages + $(mb "$sdirty") MB written (the window's image shared with the X server)"
ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks)
sleep "$idle"
t1=$(ticks)
awk -v d=$((t1 - t0)) -v hz="$hz" -v s="$idle" \
  'BEGIN { printf "idle CPU over %d s: %.3f %% of a core (%d ticks; goal < 0.1 %%)\n", s, 100 * d / hz / s, d }'
kill "$app"; wait "$app" 2>/dev/null || true; app=

# 4. The window thread during a full apply.
if [ -x "$apply" ]; then
  "$apply" 5 2>/dev/null | sed 's/^/apply: /'
  echo "apply: goal: window thread never blocked > 5 ms"
fi

# 5. Macros: recorded pauses against the real gaps (needs the X server
#    above) and rereading a library of 50 sets of 50 macros.
for b in bench_macro_pause_accuracy bench_macro_manager_open bench_macro_library_reread; do
  [ -x "$build/bench/$b" ] && "$build/bench/$b" | sed "s/^/macros: /" || true
done
# 6. The button menus: click -> menu shown, choice -> key report written, for
#    the first button and for the fourth (whose report follows three paced ones).
menu="$build/bench/bench_menu_latency"
if [ -x "$menu" ]; then
  for b in 0 3; do "$menu" 20 "$b" 2>/dev/null | grep -v '^[WR] ' | sed "s/^/menus, button $((b + 1)): /"; done
fi
# 7. A settings change on its way to the mouse, and the reports of a slider drag.
settings="$build/bench/bench_settings_apply"
if [ -x "$settings" ]; then
  "$settings" 20 2>/dev/null | sed 's/^/settings: /'
  echo "settings: goal: one batched apply per drag, none while dragging"
fi
# 8. A change on its way to the mouse and the disk: each button's report, a
#    profile switch, the window thread during an apply with macros, the save.
latency="$build/bench/bench_change_latency"
if [ -x "$latency" ]; then
  "$latency" 3 2>/dev/null | sed 's/^/latency: /'
fi
