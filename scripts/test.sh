#!/usr/bin/env bash
# Installs what Festiloom needs, builds the sanitized test flavour and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh test

# --- Order: every test program runs shuffled, with a seed printed so a failure can be
# repeated (FESTILOOM_TEST_SEED=<seed> bash scripts/test.sh).
seed=${FESTILOOM_TEST_SEED:-$(( (RANDOM << 15 | RANDOM) % 99999 + 1 ))}
echo "Test order: shuffled with seed $seed (FESTILOOM_TEST_SEED=$seed repeats it)"
export GTEST_SHUFFLE=1 GTEST_RANDOM_SEED=$seed
# --- end order

(cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"${FESTILOOM_JOBS:-$(nproc)}" "$@")

# --- Races: the threaded tests once more, built with ThreadSanitizer.
bash scripts/build.sh tsan
(cd build/tsan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"${FESTILOOM_JOBS:-$(nproc)}" -L threaded)
# --- end races

# --- Fuzzing: each file reader's fuzz target for a bounded time (FESTILOOM_FUZZ_SECONDS per
# target, 45 by default; 0 leaves fuzzing out). A crash, leak, input over 10 s or memory over
# 2 GB fails.
if [[ ${FESTILOOM_FUZZ_SECONDS:-45} -gt 0 ]]; then
  bash scripts/fuzz.sh
fi
# --- end fuzzing
