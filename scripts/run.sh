#!/usr/bin/env bash
# Sets up and builds Velkaro, then shows what it computes for the default viewpoint
# (横浜ランドマークタワー): today's sunrise, sunset, moonrise, moonset and moon age.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >&2
exec build/bin/velkaro-cli riseset --lat 35.45472 --lon 139.63062 --elev 273 "$@"
