#!/usr/bin/env bash
# Installs what the project needs, builds it and runs every test: the unit and end-to-end
# tests, the same suite under AddressSanitizer + UBSan, and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh

jobs=$(nproc)
fuzz_seconds=${ZP_FUZZ_SECONDS:-20}

echo "== build and test =="
cmake -S . -B build/test -G Ninja -UZP_FOLDERS -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZP_BENCH=ON -DZP_WERROR=ON >/dev/null
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"

echo "== sanitizers (AddressSanitizer + UBSan) =="
cmake -S . -B build/asan -G Ninja -UZP_FOLDERS -DCMAKE_BUILD_TYPE=Debug -DZP_SANITIZE=ON -DZP_WERROR=ON >/dev/null
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/asan --output-on-failure -j"$jobs"

echo "== fuzz targets (${fuzz_seconds}s each) =="
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -UZP_FOLDERS -DCMAKE_BUILD_TYPE=Debug -DZP_FUZZ=ON -DZP_WERROR=ON -DZP_TESTS=OFF \
  >/dev/null
cmake --build build/fuzz -j"$jobs" --target fuzz_all
shopt -s nullglob
for target in build/fuzz/bin/fuzz_*; do
  corpus=build/fuzz/corpus/$(basename "$target")
  # What a run finds (crashes, slow inputs) is kept there, not in the working directory.
  artifacts=build/fuzz/artifacts/$(basename "$target")/
  mkdir -p "$corpus" "$artifacts"
  seeds=fuzz/seeds/$(basename "$target")
  [[ -d $seeds ]] || seeds=
  echo "-- $(basename "$target")"
  "$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 -artifact_prefix="$artifacts" "$corpus" $seeds 2>&1 |
    tail -n 2
done
echo "All tests passed."
