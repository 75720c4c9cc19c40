#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs one target, or each in
# turn, for a bounded time from its seed corpus in fuzz/corpus/:
#     bash scripts/fuzz.sh [target|all] [seconds per target]
# A crash, hang, leak or sanitizer report stops it with a non-zero status and leaves
# the input that caused it in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-all}
seconds=${2:-60}
targets=(xml_reader xml_round_trip date_time_pattern database_path param_blocks
  statement_params regional_settings)
if [[ $target != all ]]; then
  [[ " ${targets[*]} " == *" $target "* ]] || { echo "unknown target $target: ${targets[*]}" >&2; exit 2; }
  targets=("$target")
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGRAVLINK_FUZZ=ON -DGRAVLINK_WINDOW=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=TRUE \
  --no-warn-unused-cli >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p build-fuzz/artifacts
for t in "${targets[@]}"; do
  echo "== fuzz_$t for ${seconds}s"
  mkdir -p "build-fuzz/corpus/$t"
  log="build-fuzz/artifacts/$t.log"
  status=0
  ASAN_OPTIONS=detect_leaks=1 "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/artifacts/$t-" "build-fuzz/corpus/$t" "fuzz/corpus/$t" \
    >"$log" 2>&1 || status=$?
  if ((status != 0)); then
    tail -n 60 "$log" >&2
    echo "fuzz_$t failed (status $status); the whole output is in $log" >&2
    exit 1
  fi
  grep -E '^(stat::number_of_executed_units|stat::new_units_added|Done)' "$log" || true
  echo "fuzz_$t passed"
done
echo "fuzzing passed: ${#targets[@]} target(s), ${seconds}s each, no finding"
