#!/usr/bin/env bash
# The functions start-up runs must sit together at the front of tevlan's code:
# scattered, start-up faults in nearly all of the program (about 0.5 MB more
# resident). Fails when the link stopped honouring src/app/startup_order.txt,
# for instance when the objects lose their one-section-per-function build.
#   startup_layout_test.sh <tevlan> <startup_order.txt>
set -euo pipefail
program=$1
order=$2
if ! readelf -p .comment "$program" 2>/dev/null | grep 'Linker:.*LLD' >/dev/null; then
  echo "tevlan was not linked by lld: no start-up layout to check"
  exit 77
fi
nm -S --radix=d --defined-only "$program" | awk -v order="$order" '
  BEGIN { while ((getline line < order) > 0) if (line !~ /^#/) listed[line] = 1 }
  NF == 4 && $3 ~ /^[tTwW]$/ && ($4 in listed) {
    addr = $1 + 0; size = $2 + 0
    if (!(addr in seen)) { seen[addr] = 1; bytes += size; n++ }
    if (n == 1 || addr < lo) lo = addr
    if (addr + size > hi) hi = addr + size
  }
  END {
    if (n < 100) { printf "only %d listed functions found in the program\n", n; exit 1 }
    printf "%d listed functions, %d bytes, spread over %d bytes\n", n, bytes, hi - lo
    # Alignment padding aside, nothing else belongs in between.
    if (hi - lo > bytes * 1.1) { print "the listed functions are not laid out together"; exit 1 }
  }'
