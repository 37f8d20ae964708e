#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with Clang under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs each, one after the other, for SECONDS (default 20) on a copy of its seed
# corpus (the committed corpus is left as it is). An input that fails is kept under
# build-fuzz/artifacts/<target>/ and the script exits nonzero.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(format_parser_fuzz record_read_fuzz whole_run_fuzz console_store_fuzz window_access_fuzz)
fi

scripts/deps.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGEMINO_BUILD_FUZZ=ON -DGEMINO_SANITIZE=ON -DGEMINO_BUILD_TESTS=OFF -DGEMINO_WERROR=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

# The longest input worth trying, per target: a run's two files are small, a format short.
max_len() {
  case $1 in
    format_parser_fuzz) echo 512 ;;
    window_access_fuzz) echo 1024 ;;
    whole_run_fuzz) echo 12000 ;;
    *) echo 4096 ;;
  esac
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for t in "${targets[@]}"; do
  cp -r "fuzz/corpus/$t" "$work/$t"
  artifacts="build-fuzz/artifacts/$t"
  mkdir -p "$artifacts"
  dict=()
  [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
  echo "== $t: ${seconds}s"
  if ! ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "build-fuzz/fuzz/$t" "$work/$t" -max_total_time="$seconds" -max_len="$(max_len "$t")" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$artifacts/" 2>"$work/$t.log"; then
    tail -n 60 "$work/$t.log"
    echo "FAILED: $t (input kept in $artifacts)"
    status=1
  else
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)|cov:' "$work/$t.log" | tail -n 4
  fi
done
exit $status
