#!/usr/bin/env bash
# Builds Strivo with warnings as errors and runs every test under CTest.
#   scripts/test.sh             normal build in build/test
#   scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build in build/asan
set -euo pipefail
cd "$(dirname "$0")/.."

"$(pwd)/scripts/install-deps.sh"

dir=build/test
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTRIVO_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build/asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DSTRIVO_WERROR=ON -DSTRIVO_SANITIZE=ON -DSTRIVO_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
