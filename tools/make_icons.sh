#!/bin/bash
# Renders the toolbar icons (src/mainwindow/icons/svg/N.svg) into the 48 and 16 pixel PNG
# sets the program carries as resources. Needs rsvg-convert (Debian: librsvg2-bin); run it
# after changing a drawing and commit the PNG files with it.
set -euo pipefail
cd "$(dirname "$0")/../src/mainwindow/icons"
for svg in svg/*.svg; do
    name=$(basename "$svg" .svg)
    for size in 48 16; do
        rsvg-convert -w "$size" -h "$size" "$svg" -o "$size/$name.png"
    done
done
