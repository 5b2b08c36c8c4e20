#!/bin/bash
# The main window as a screen reader finds it, in English and in Chinese.
# Runs on an X server (xvfb-run) inside its own D-Bus session
# (dbus-run-session): starts the accessibility bus, then for each language
# writes the data folder's language choice, lets a11y_expected print what the
# window must show, starts tevlan on the simulated mouse with Qt's
# accessibility bridge on, and has atspi_check.py compare the bus with the
# list; then atspi_dialogs.py walks every section and dialog over the bus,
# operating controls and reading the effect in the data folder's files.
# Everything it starts is ended on the way out, whatever happens.
#
#   atspi_test.sh TEVLAN A11Y_EXPECTED BUS_LAUNCHER LANGUAGE_SOURCES
set -u
tevlan=$1
expected_prog=$2
launcher=$3
langs=$4
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
app=""
bus=""
stop() {  # pid: SIGTERM, then SIGKILL when it has not gone within 5 s
    local pid=$1 i
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    for i in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}
cleanup() {
    stop "$app"
    stop "$bus"
    rm -rf "$work"
}
trap cleanup EXIT

# The program's single-instance lock and the bus sockets stay in here, away
# from a Tevlan the developer may be running.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
bus=$!

# The data folder's language choice: UTF-16LE with its byte-order mark.
language_setting() {
    mkdir -p "$1/config"
    { printf '\xff\xfe'; printf '[ChangeLanguage]\nLanguage=%s\n' "$2" | iconv -f UTF-8 -t UTF-16LE; } \
        >"$1/config/LanSetting.ini"
}

check_language() {
    local code=$1 flag=$2 source=$3
    # Separate folders: the expected window writes its files as it starts.
    language_setting "$work/$code-expected" "$code"
    language_setting "$work/$code-app" "$code"
    if ! timeout 20 "$expected_prog" --data-dir "$work/$code-expected" >"$work/$code.list"; then
        echo "FAIL ($code): a11y_expected could not list the window"
        return 1
    fi
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=C \
        timeout 150 "$tevlan" --device sim --data-dir "$work/$code-app" >"$work/$code.app.log" 2>&1 &
    app=$!
    echo "$code: $(grep -c '^1' "$work/$code.list") operable controls expected"
    if ! timeout 20 "$here/atspi_check.py" "$work/$code.list" --deadline 12 $flag; then
        echo "FAIL ($code); tevlan said:"
        cat "$work/$code.app.log"
        stop "$app"
        app=""
        return 1
    fi
    if ! timeout 120 "$here/atspi_dialogs.py" "$langs/$source" "$work/$code-app"; then
        echo "FAIL ($code): the walk through the dialogs; tevlan said:"
        cat "$work/$code.app.log"
        stop "$app"
        app=""
        return 1
    fi
    stop "$app"
    app=""
}

status=0
check_language EN "" en.po || status=1
check_language CN --chinese zh.po || status=1
if [ $status -eq 0 ] && cmp -s "$work/EN.list" "$work/CN.list"; then
    echo "FAIL: the English and Chinese lists are the same"
    status=1
fi
if [ $status -eq 0 ] && [ "$(grep -c '^1' "$work/EN.list")" != "$(grep -c '^1' "$work/CN.list")" ]; then
    echo "FAIL: the two languages show a different number of operable controls"
    status=1
fi
exit $status
