#!/bin/sh
# The accessibility test's frame: a private Xvfb server, a runtime folder and a session bus of its
# own (dbus-run-session), around AccessibilityDesktopTest.py. Exits 77 (skipped) where the machine
# lacks Xvfb, dbus-run-session or Python with pyatspi.
# Usage: AccessibilityDesktopTest.sh BIN_DIR
set -eu
bin_dir=$1
here=$(dirname "$0")
for tool in Xvfb dbus-run-session /usr/bin/python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing" >&2
        exit 77
    fi
done
work=$(mktemp -d)
xvfb=
cleanup() {
    [ -z "$xvfb" ] || { kill "$xvfb" && wait "$xvfb"; } 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
# Xvfb picks a free display and writes its number to the pipe.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
read -r display <"$work/display"
mkdir -m 700 "$work/run"
export DISPLAY=":$display" XDG_RUNTIME_DIR="$work/run"
dbus-run-session -- /usr/bin/python3 "$here/AccessibilityDesktopTest.py" "$bin_dir" "$work"
