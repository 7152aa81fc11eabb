#!/bin/bash
# Screenshots of the program as a user sees it, for looking at by hand and for the README:
# the main window with a book open, the three pages of the settings window, a help page and
# the monitor while the book is recorded.
# Runs the built program on a virtual screen with a fresh program folder and settings.
# Needs (only for this script): apt-get install -y xvfb xdotool imagemagick
#
#   tools/screenshots.sh [build folder] [output folder]
# The main window's shot also replaces docs/mainwindow.png, the README's picture.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$build/screenshots}
program=$build/src/app/quenvale
mkdir -p "$out"

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export QUENVALE_HOME=$work/home XDG_CONFIG_HOME=$work/config DISPLAY=:97 LANG=ru_RU.UTF-8
cp -r "$root/data" "$QUENVALE_HOME"
mkdir -p "$XDG_CONFIG_HOME/Quenvale" "$work/books"
# The book the start-up reopens, and a working folder, as an earlier session left them.
cat > "$XDG_CONFIG_HOME/Quenvale/Quenvale.ini" <<INI
[MP3User1]
text7=$root/tests/data/kapitanskaya_dochka.txt
Text8=kapitanskaya_dochka
Text2=13
[setupUser1]
Text28=$work/books
Check1=0
INI

Xvfb :97 -screen 0 1280x860x24 -nolisten tcp &
sleep 1
"$program" &
sleep 3

window() { xdotool search --sync --onlyvisible --name "$1" | head -1; }
shot() { import -window "$1" "$out/$2.png"; }

main=$(window '^Quenvale $')
xdotool windowsize "$main" 1000 700 windowmove "$main" 0 0
sleep 1
shot "$main" mainwindow

# A click on the status bar opens the settings window; Ctrl+Tab turns its pages.
xdotool mousemove --window "$main" 200 690 click 1
sleep 1
settings=$(window 'настройки')
xdotool windowmove "$settings" 40 40 windowfocus "$settings"
sleep 1
for page in voice recording options; do
    shot "$settings" "settings-$page"
    xdotool key --window "$settings" ctrl+Tab
    sleep 0.5
done
xdotool windowunmap "$settings"

# Help: Alt opens the menu bar, Left wraps to "Помощь", Down and Return show the first page.
xdotool windowfocus "$main"
sleep 0.5
xdotool key --window "$main" alt Left Down Return
sleep 1
help=$(window 'Quenvale-Help')
xdotool windowmove "$help" 60 60
sleep 0.5
shot "$help" help
xdotool windowunmap "$help"

# Ctrl+A records the book: the monitor takes the main window's place.
xdotool windowfocus "$main"
sleep 0.5
xdotool key --window "$main" ctrl+a
monitor=$(window 'Save-to-file|выполнено')
xdotool windowmove "$monitor" 80 80
sleep 20
shot "$monitor" monitor
ls "$work/books"/* | head -5
cp "$out/mainwindow.png" "$root/docs/mainwindow.png"
echo "screenshots in $out"
