#!/usr/bin/env bash
# The fuzz campaign: builds the fuzz configuration (clang, libFuzzer, AddressSanitizer + UBSan)
# as scripts/test.sh does and runs every fuzz target for MINUTES minutes each, starting from its
# seeds (fuzz/seeds/TARGET, when present) and a corpus kept between runs (build/fuzz/corpus/TARGET).
# Prints what each run found; exits 1 when a target crashed, leaked, hung or ran out of memory
# (the input that did it is kept under build/fuzz/artifacts/TARGET/).
#   scripts/fuzz.sh MINUTES [TARGET...]     e.g. scripts/fuzz.sh 10, scripts/fuzz.sh 1 fuzz_pdb_reader
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -lt 1 || ! $1 =~ ^[0-9]+([.][0-9]+)?$ ]]; then
  echo "usage: scripts/fuzz.sh MINUTES [TARGET...]" >&2
  exit 2
fi
seconds=$(awk -v minutes="$1" 'BEGIN { printf "%d", minutes * 60 + 0.5 }')
(( seconds > 0 )) || seconds=1
shift
jobs=${ZP_JOBS:-$(nproc)}

echo "== build the fuzz targets =="
# Configured exactly as scripts/test.sh configures build/fuzz, so the two never rebuild it for each other.
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -UZP_FOLDERS -DCMAKE_BUILD_TYPE=Debug -DZP_FUZZ=ON -DZP_WERROR=ON \
  -DZP_TESTS=OFF >/dev/null
cmake --build build/fuzz -j"$jobs" --target fuzz_all

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  shopt -s nullglob
  for target in build/fuzz/bin/fuzz_*; do targets+=("$(basename "$target")"); done
fi
if [[ ${#targets[@]} -eq 0 ]]; then
  echo "no fuzz target was built" >&2
  exit 1
fi

echo "== ${#targets[@]} targets, ${seconds}s each =="
failed=()
for name in "${targets[@]}"; do
  target=build/fuzz/bin/$name
  corpus=build/fuzz/corpus/$name
  artifacts=build/fuzz/artifacts/$name/
  log=build/fuzz/logs/$name.log
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  seeds=()
  [[ -d fuzz/seeds/$name ]] && seeds=("fuzz/seeds/$name")
  echo "-- $name"
  status=0
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::new_units_added)' "$log" | tr '\n' ' '
  echo "corpus: $(find "$corpus" -type f | wc -l) inputs"
  if (( status != 0 )); then
    failed+=("$name")
    echo "   FOUND A FAULT (exit status $status); the run's log: $log"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written to)' "$log" | sed 's/^/   /' || true
  fi
done

if (( ${#failed[@]} > 0 )); then
  echo "Faults found by: ${failed[*]}"
  exit 1
fi
echo "Nothing found: ${#targets[@]} targets ran ${seconds}s each without a crash, leak, hang or memory blow-up."
