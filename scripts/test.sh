#!/usr/bin/env bash
# Installs what the build and the tests need, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${RUNTIME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-tests
cd build-tests
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
