#!/usr/bin/env bash
# Fails when a layer reaches upwards:
#   - code outside platform/ includes an operating-system or Qt header;
#   - the toolkit (ui/) includes the program's windows (app/);
#   - the core (base, profile, persist, macros, settings, games, buttons,
#     command, except their ui/ folders, which are the windows' sections)
#     includes the toolkit, a window, the device link or tevlanctl;
#   - a core folder includes one on its own floor or above. The floors, from
#     the bottom: base (text codec, UI texts); profile (the records); persist
#     (their files); macros; settings, games and buttons side by side; command
#     (the interpreter that tevlanctl and the socket share);
#   - a window section (a core folder's ui/) includes a window of app/.
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
declare -A floor=([base]=0 [profile]=1 [persist]=2 [macros]=3 [settings]=4 [games]=4 [buttons]=4 [command]=5)
core=""; upward=""
for layer in "${!floor[@]}"; do
  core+=$(includes "$src/$layer" '"(ui|app|device|ctl)/' | grep -v "^$src/$layer/ui/")
  for other in "${!floor[@]}"; do
    [ "$other" = "$layer" ] && continue
    [ "${floor[$other]}" -lt "${floor[$layer]}" ] && continue
    upward+=$(includes "$src/$layer" "\"$other/" | grep -v "^$src/$layer/ui/")
  done
  sections+=$(includes "$src/$layer/ui" '"app/')
done
report "the core includes the toolkit, a window, the device link or tevlanctl:" "$core"
report "a core folder includes one on its own floor or above:" "$upward"
report "a window section includes a window of app/:" "${sections:-}"

[ $status = 0 ] && echo "layering ok"
exit $status
