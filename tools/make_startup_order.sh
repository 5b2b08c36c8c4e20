#!/usr/bin/env bash
# Writes src/app/startup_order.txt: the functions of tevlan that run from exec
# through the deferred start and a few seconds of idle on the simulated mouse,
# one linker symbol per line. The link lays them out first and together, so
# start-up touches a few hundred kilobytes of the program instead of faulting
# in nearly all of it (the kernel maps whole 64 kB neighbourhoods of every page
# it faults in). Run it again after larger changes to what start-up does; a
# stale list only costs memory, never correctness, and bench/startup_probe.sh
# says how much of it the program still matches.
#
#   tools/make_startup_order.sh [build folder] [seconds under valgrind, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
seconds=${2:-20}
out=src/app/startup_order.txt
command -v valgrind >/dev/null || { echo "valgrind is needed (apt-get install valgrind)" >&2; exit 1; }
[ -x "$build/tevlan" ] || { echo "build $build/tevlan first" >&2; exit 1; }

work=$(mktemp -d /tmp/tevlan-order.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
cat >"$work/session.sh" <<EOF
export XDG_RUNTIME_DIR=$work/runtime
# A returning user: the data folder exists before the measured start.
timeout 5 "$build/tevlan" --device sim --data-dir "$work/data" >/dev/null 2>&1 || true
valgrind --tool=callgrind --demangle=no --callgrind-out-file="$work/cg.out" \
  "$build/tevlan" --device sim --data-dir "$work/data" >/dev/null 2>"$work/valgrind.txt" &
pid=\$!
sleep $seconds
kill \$pid
wait \$pid || true
EOF
xvfb-run -a -s "-screen 0 1600x1000x24" bash "$work/session.sh"

# Every function callgrind saw run inside the program itself. Complete-object
# and base-object constructors and destructors share one body under either
# name, so both names are listed.
callgrind_annotate --threshold=100 "$work/cg.out" |
  grep -F " [$build/tevlan]" |
  sed -E 's/^ *[0-9,]+ +\( *[0-9.]+%\) +//; s/ \[[^]]*\]$//; s/^.*:([^:]+)$/\1/'"; s/'[0-9]+\$//" |
  grep -Ev '^(0x[0-9a-f]+|\(below main\))$' |
  awk '{ print } /[CD][0-2]E/ { for (k = 0; k <= 2; k++) { s = $0; gsub(/C[12]E/, "C" (k ? k : 1) "E", s); gsub(/D[0-2]E/, "D" k "E", s); print s } }' |
  sort -u >"$work/order.txt"
n=$(wc -l <"$work/order.txt")
[ "$n" -gt 100 ] || { echo "only $n functions seen; see $work/valgrind.txt" >&2; trap - EXIT; exit 1; }
{
  echo "# Functions tevlan runs from start to idle on the simulated mouse, laid out"
  echo "# first by the link. Written by tools/make_startup_order.sh; do not edit."
  cat "$work/order.txt"
} >"$out"
echo "$out: $n functions"
