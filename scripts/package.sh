#!/usr/bin/env bash
# Installs what the build and the packaging need, builds the program in Release and makes its
# Debian package, build-package/quenvale_<version>_<architecture>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${RUNTIME_PACKAGES[@]}" dpkg-dev file
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENVALE_BUILD_TESTS=OFF
cmake --build build-package --target quenvale
cd build-package
cpack -G DEB
