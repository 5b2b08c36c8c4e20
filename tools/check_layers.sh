#!/usr/bin/env bash
# Fails when code outside platform/ reaches for an operating-system or Qt header.
set -u
src=${1:-$(dirname "$0")/../src}
bad=$(grep -rnE '^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/|libudev\.h|linux/|X11/|sys/|unistd\.h|fcntl\.h|poll\.h)' \
      "$src" --include='*.h' --include='*.cpp' | grep -v "^$src/platform/")
if [ -n "$bad" ]; then
  echo "operating-system or Qt headers outside platform/:"
  echo "$bad"
  exit 1
fi
echo "layering ok"
