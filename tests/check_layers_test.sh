#!/usr/bin/env bash
# The layering check itself: it passes on a clean tree and fails on each
# kind of upward include planted in a copy of one.
set -u
check=$(dirname "$0")/../tools/check_layers.sh
work=$(mktemp -d /tmp/tevlan-layers.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail=0

fresh() {
  rm -rf "$work/src"
  mkdir -p "$work/src"/{app,ui,platform/qt,settings/ui,persist,base}
  echo '#include "ui/dlg_base.h"' > "$work/src/app/window.cpp"
  echo '#include "base/ui_text.h"' > "$work/src/ui/dlg_base.h"
  echo '#include <QWidget>' > "$work/src/platform/qt/host.cpp"
  echo '#include "ui/dlg_base.h"' > "$work/src/settings/ui/section.cpp"
  echo '#include <string>' > "$work/src/base/ui_text.h"
}

expect() {  # name, wanted exit code
  "$check" "$work/src" >/dev/null
  local got=$?
  if [ "$got" != "$2" ]; then echo "FAIL: $1 (exit $got, wanted $2)"; fail=1; else echo "ok: $1"; fi
}

fresh; expect "clean tree" 0
fresh; echo '#include "app/main_ids.h"' >> "$work/src/ui/dlg_base.h"; expect "ui/ includes app/" 1
fresh; echo '#include "ui/radio_state.h"' >> "$work/src/base/ui_text.h"; expect "core includes ui/" 1
fresh; echo '#include <unistd.h>' >> "$work/src/app/window.cpp"; expect "system header outside platform/" 1
fresh; echo '#include "persist/profile_file.h"' >> "$work/src/base/ui_text.h"; expect "base/ includes a floor above" 1
fresh; mkdir -p "$work/src/settings" "$work/src/buttons"
echo '#include "buttons/fire_input.h"' > "$work/src/settings/dpi_levels.cpp"; expect "a floor includes its neighbour" 1
fresh; mkdir -p "$work/src/command"; echo '#include "settings/dpi_levels.h"' > "$work/src/command/set.cpp"
echo '#include "base/ui_text.h"' > "$work/src/persist/file.cpp"; expect "downward includes only" 0
fresh; echo '#include "app/main_ids.h"' >> "$work/src/settings/ui/section.cpp"; expect "a section includes a window" 1
exit $fail
