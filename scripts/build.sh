#!/usr/bin/env bash
# Configures and builds one flavour of Festiloom: "release" (the application) or "test"
# (sanitized build of the application, its tests and benchmarks), "bench" or "tools" (the
# programs that make shipped resources), "tsan" (the threaded tests under ThreadSanitizer),
# "fuzz" (the fuzz targets of the file readers, built with clang). The flavours CI builds (test,
# tsan, fuzz) treat warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."

flavour=${1:-release}
case "$flavour" in
  release) args=(-DCMAKE_BUILD_TYPE=Release -DFESTILOOM_TESTS=OFF -DFESTILOOM_BENCH=OFF) ;;
  # --- fuzz: clang's libFuzzer targets of the file readers (fuzz/) and the libraries they link
  fuzz)    args=(-DCMAKE_BUILD_TYPE=Debug -DFESTILOOM_FUZZ=ON -DFESTILOOM_TESTS=OFF -DFESTILOOM_BENCH=OFF -DFESTILOOM_WERROR=ON
                 -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1") ;;
  # --- end fuzz
  test)    args=(-DCMAKE_BUILD_TYPE=Debug -DFESTILOOM_SANITIZE=ON -DFESTILOOM_TESTS=ON -DFESTILOOM_BENCH=ON -DFESTILOOM_WERROR=ON
                 "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1") ;;
  bench)   args=(-DCMAKE_BUILD_TYPE=Release -DFESTILOOM_TESTS=OFF -DFESTILOOM_BENCH=ON) ;;
  tools)   args=(-DCMAKE_BUILD_TYPE=Release -DFESTILOOM_TESTS=OFF -DFESTILOOM_BENCH=OFF -DFESTILOOM_TOOLS=ON) ;;
  # --- tsan: ThreadSanitizer build of the test programs that start threads (label "threaded")
  tsan)    args=(-DCMAKE_BUILD_TYPE=Debug -DFESTILOOM_TSAN=ON -DFESTILOOM_TESTS=ON -DFESTILOOM_BENCH=OFF -DFESTILOOM_WERROR=ON
                 "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1") ;;
  # --- end tsan
  *) echo "usage: $0 [release|test|bench|tools|tsan|fuzz]" >&2; exit 2 ;;
esac

# ccache, when installed, makes rebuilds in several checkouts cheap; FESTILOOM_JOBS caps the
# parallel compilers (sanitized C++ compilers take about 1 GiB each).
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR=1
  args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "build/$flavour" -G Ninja "${args[@]}" >/dev/null
cmake --build "build/$flavour" -j"${FESTILOOM_JOBS:-$(nproc)}"
