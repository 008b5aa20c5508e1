#!/usr/bin/env bash
# Sets up and builds Velkaro, then runs every test (unit, data and end-to-end) with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Every parser gets a short fuzzing run before the tests.
bash scripts/fuzz.sh "${VELKARO_FUZZ_SECONDS:-10}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
ctest --test-dir build --output-on-failure -j "$(nproc)"
