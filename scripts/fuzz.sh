#!/usr/bin/env bash
# Builds the parsers' fuzz targets with clang (libFuzzer, address and undefined-behaviour
# sanitizers) into build-fuzz/ and runs each briefly. Seconds per target: $1 (default 10).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELKARO_FUZZ=ON \
  -DVELKARO_BUILD_TESTS=OFF -DVELKARO_BUILD_BENCH=OFF ${VELKARO_CMAKE_ARGS:-} >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_targets
status=0
for target in build-fuzz/bin/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  if "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="build-fuzz/$name-" \
      "$corpus" >"build-fuzz/$name.log" 2>&1; then
    echo "fuzz $name: ok ($(grep -Eo 'Done [0-9]+ runs' "build-fuzz/$name.log" | head -1))"
  else
    echo "fuzz $name: FAILED"; tail -30 "build-fuzz/$name.log"; status=1
  fi
done
exit $status
