#!/usr/bin/env bash
# Fails when a layer reaches upwards:
#   - code outside platform/ includes an operating-system or Qt header;
#   - the toolkit (ui/) includes the program's windows (app/);
#   - the core (profile, macros, persist, buttons, settings, except their
#     ui/ folders, which are the windows' sections) includes the toolkit.
set -u
src=${1:-$(dirname "$0")/../src}
status=0
report() {  # title, findings
  [ -z "$2" ] && return
  echo "$1"
  echo "$2"
  status=1
}
includes() {  # folder, pattern
  [ -d "$1" ] || return 0
  grep -rnE "^\s*#\s*include\s*$2" "$1" --include='*.h' --include='*.cpp'
}

report "operating-system or Qt headers outside platform/:" \
  "$(includes "$src" '[<"](Q[A-Za-z]+|Qt[A-Za-z]*/|libudev\.h|linux/|X11/|sys/|unistd\.h|fcntl\.h|poll\.h)' |
     grep -v "^$src/platform/")"
report "the toolkit (ui/) includes the program's windows (app/):" "$(includes "$src/ui" '"app/')"
core=""
for layer in profile macros persist buttons settings games; do
  core+=$(includes "$src/$layer" '"ui/' | grep -v "^$src/$layer/ui/")
done
report "the core includes the toolkit (ui/):" "$core"

[ $status = 0 ] && echo "layering ok"
exit $status
