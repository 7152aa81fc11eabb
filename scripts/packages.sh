# Debian packages of the program and of its tests; sourced by start.sh and test.sh.
RUNTIME_PACKAGES=(cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-multimedia-dev libqt6multimedia6 qt6-qpa-plugins
    libespeak-ng-dev espeak-ng-data libsoxr-dev
    lame vorbis-tools madplay sox libsox-fmt-all ffmpeg
    fonts-dejavu-core)
TEST_PACKAGES=(googletest libgtest-dev espeak-ng xvfb xauth)
