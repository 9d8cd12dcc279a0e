#!/usr/bin/env bash
# Renders the program icon icons/tambor.svg into the PNG sizes of the
# hicolor theme (icons/hicolor/NxN/apps/tambor.png). Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 16 22 24 32 48 64 128 256; do
    dir=icons/hicolor/${size}x${size}/apps
    mkdir -p "$dir"
    convert -background none -density 96 icons/tambor.svg -resize "${size}x${size}" \
        -define png:exclude-chunks=date,time -strip "PNG32:$dir/tambor.png"
done
