#!/bin/sh
# One scenario's result from the guest run's log: passes, fails with its
# part of the log, or is skipped (exit 77) when the guest could not boot here.
#   check_scenario.sh OUT_DIR Kernel.Name
out=$1 name=$2
log=$out/scenarios.log
if [ -s "$out/skip" ]; then
  echo "SKIPPED: the kernel scenarios need a guest: $(cat "$out/skip")"
  exit 77
fi
if [ ! -s "$log" ]; then
  echo "the guest produced no scenario log; see $out/console.log"
  exit 1
fi
sed -n "/^\[ RUN      \] $name\$/,/^\[ *\(OK\|FAILED\) *\] $name /p" "$log"
grep -q "^\[       OK \] $name " "$log" && exit 0
grep -q "^\[ RUN      \] $name\$" "$log" || echo "$name did not run in the guest"
exit 1
