#!/usr/bin/env bash
# Builds and runs every test: the normal build, then the AddressSanitizer and
# ThreadSanitizer builds, then a clang build that checks the lock annotations.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

run_build() {
  local dir=$1; shift
  "$root/scripts/setup.sh" "$dir" "$@"
  cmake --build "$dir" -j "$jobs"
}

run_build "$root/build"
(cd "$root/build" && ctest --output-on-failure -j "$jobs")

run_build "$root/build-asan" -DSANITIZE=address
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$jobs")

run_build "$root/build-tsan" -DSANITIZE=thread
(cd "$root/build-tsan" && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
   ctest --output-on-failure -j "$jobs")

# Thread-safety analysis: a clang build that must compile cleanly.
run_build "$root/build-clang" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
echo "all tests passed"
