#!/usr/bin/env bash
# Installs what the program needs, builds it in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${RUNTIME_PACKAGES[@]}"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENVALE_BUILD_TESTS=OFF
cmake --build build-release --target quenvale
exec build-release/src/app/quenvale "$@"
