#!/usr/bin/env bash
# Builds the fuzz flavour and runs every fuzz target for a bounded time, starting from the
# seeds in fuzz/corpus/<Target>/ and the inputs in fuzz/regressions/<Target>/ (which run
# first, so an old crash comes back at once). Any crash, leak, sanitizer report, input taking
# over 10 s or memory over 2 GB fails the run; the input is kept as build/fuzz/<Target>-crash-*
# (copy it into fuzz/regressions/<Target>/ once mended).
#   FESTILOOM_FUZZ_SECONDS  time per target (default 45)
#   scripts/fuzz.sh [Target...]   only these targets (e.g. WorkbookFuzz)
set -euo pipefail
cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."
seconds=${FESTILOOM_FUZZ_SECONDS:-45}
bash scripts/build.sh fuzz
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  for program in build/fuzz/fuzz/fuzz_*Fuzz; do targets+=("${program##*/fuzz_}"); done
fi
for target in "${targets[@]}"; do
  echo "== $target for ${seconds} s"
  found=$(mktemp -d)   # new inputs stay out of the repository
  # Paths in full: a target works in a folder of its own (fuzz/FuzzSupport.h).
  inputs=("$found" "$PWD/fuzz/corpus/$target")
  [[ -d fuzz/regressions/$target ]] && inputs+=("$PWD/fuzz/regressions/$target")
  status=0
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "build/fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$PWD/build/fuzz/$target-" "${inputs[@]}" >"$found.log" 2>&1 || status=$?
  tail -n 40 "$found.log"
  rm -rf "$found" "$found.log"
  [[ $status -eq 0 ]] || { echo "$target failed (exit $status)" >&2; exit "$status"; }
done
