#!/usr/bin/env bash
# Installs what Festiloom needs, builds the sanitized test flavour and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh test
cd build/test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"${FESTILOOM_JOBS:-$(nproc)}" "$@"
