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
# The program's icon (the library's book with the reading's speaker) for the hicolor theme: the
# drawing itself at 48 and 256 pixels, simpler drawings of its own at 16, 24 and 32, where its
# thin lines would blur. The window carries the 48 and 256 pixel ones (X11 drops a window icon
# of 256 pixels alone).
app=../../../dist
for size in 16 24 32; do
    rsvg-convert -w "$size" -h "$size" "$app/icons/$size.svg" -o "$app/icons/$size.png"
done
rsvg-convert -w 256 -h 256 "$app/org.quenvale.Quenvale.svg" -o "$app/icons/256.png"
rsvg-convert -w 48 -h 48 "$app/org.quenvale.Quenvale.svg" -o 48/quenvale.png
