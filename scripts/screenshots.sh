#!/usr/bin/env bash
# Remakes the screenshots of the help pages (help/images/*.png) from the
# real windows: builds the screenshot tool, starts it on a virtual screen
# with a window manager, and works the windows over the full history.
# Windows that are not built yet are skipped and named at the end.
# Usage: scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
for tool in xvfb-run openbox; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: apt-get install xvfb openbox" >&2; exit 1; }
done
[ -f "$build_dir/build.ninja" ] || scripts/setup.sh "$build_dir"
cmake --build "$build_dir" --target tambor-help-screenshots
out=$PWD/help/images
mkdir -p "$out"
tool=$PWD/$build_dir/tools/tambor-help-screenshots
history=$PWD/$build_dir/src/generated/lotodata-builtin.txt
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# A clean home: no settings or desktop state of the user leak into the pictures.
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        openbox >/dev/null 2>&1 &
        wm=$!
        sleep 1
        "$0" "$1" "$2"
        status=$?
        kill $wm 2>/dev/null || true
        exit $status' "$tool" "$out" "$history"
