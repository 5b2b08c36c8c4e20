#!/usr/bin/env bash
# `make run`: start the program on the simulated mouse. Arguments after the
# build folder go to tevlan (tools/run.sh build --sim-products AB).
set -euo pipefail
build=${1:-build}
shift || true
if [ -x "$build/tevlan" ]; then
  exec "$build/tevlan" --device sim "$@"
elif [ -x "$build/tevlanctl" ]; then
  "$build/tevlanctl" --device sim status
  exec "$build/tevlanctl" --device sim --trace apply
else
  echo "nothing to run yet: build $build/tevlan first" >&2
  exit 1
fi
