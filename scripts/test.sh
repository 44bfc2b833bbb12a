#!/usr/bin/env bash
# Installs what Festiloom needs, builds the sanitized test flavour and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh test
cd build/test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"${FESTILOOM_JOBS:-$(nproc)}" "$@"

# Fuzzing: each file reader's fuzz target for a bounded time (FESTILOOM_FUZZ_SECONDS per
# target, 45 by default; 0 leaves fuzzing out). Any crash fails CI.
if [[ ${FESTILOOM_FUZZ_SECONDS:-45} -gt 0 ]]; then
  bash "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/fuzz.sh"
fi
