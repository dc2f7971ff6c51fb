#!/usr/bin/env bash
# Benchmarks the engine libraries against zip, unzip and 7zz on an optimised native
# build without sanitizers (build/bench). Extra arguments go to engine_bench.py
# (--runs N, --corpus DIR..., --work DIR).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

ensure_packages
build_bench engine_driver zipdll unzdll tarvox-cli
dir=$TARVOX_BUILD/bench
python3 "$TARVOX_ROOT/bench/engine_bench.py" --driver "$dir/bin/engine_driver" \
    --cli "$dir/bin/tarvox-cli" "$@"
