# Debian packages of the program and of its tests; sourced by start.sh and test.sh.
RUNTIME_PACKAGES=(cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-multimedia-dev libqt6multimedia6 qt6-qpa-plugins qt6-translations-l10n
    libespeak-ng-dev espeak-ng-data libsoxr-dev libuchardet-dev libxml2-dev
    fonts-dejavu-core
    lame vorbis-tools madplay sox libsox-fmt-base ffmpeg)
# The encoders above: lame (MP3), oggenc (OGG), lame + madplay + sox's amr-nb (AMR), ffmpeg (WMA).
# sox (soxi) and ffmpeg (ffprobe) read back the files the tests make; espeak-ng is the
# speech benchmark's yardstick and reads back the stresses the pronunciation tests send.
# The installed tree is checked with the desktop's own validators, and the Debian package is made
# as a user would make it (dpkg-shlibdeps, file).
TEST_PACKAGES=(googletest libgtest-dev sox espeak-ng desktop-file-utils appstream dpkg-dev file)
