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
# The program's icon (the library's book with the reading's speaker): 256 pixels for the hicolor
# theme and the window, 48 for the window too (X11 drops a window icon of 256 pixels alone).
app=../../../dist/org.quenvale.Quenvale
rsvg-convert -w 256 -h 256 "$app.svg" -o "$app.png"
rsvg-convert -w 48 -h 48 "$app.svg" -o 48/quenvale.png
