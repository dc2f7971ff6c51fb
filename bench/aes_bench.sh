#!/usr/bin/env bash
# Times encrypted add and extract of the benchmark tree (/usr/include and /usr/share/doc)
# against 7zz: tarvox-cli from an optimised native build without sanitizers (build/bench)
# and the Windows tarvox-cli under Wine. The copied tree is kept in build/bench-data/aes.
# Extra arguments go to aes_bench.py (--runs N, --corpus DIR...).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

ensure_packages
build_bench zipdll unzdll tarvox-cli
dir=$TARVOX_BUILD/bench
build_tree win32 zipdll unzdll tarvox-cli
ensure_display
ensure_wine_prefix
start_persistent_wineserver
python3 "$TARVOX_ROOT/bench/aes_bench.py" --cli "$dir/bin/tarvox-cli" \
    --wine-cli "$TARVOX_BUILD/win32/bin/tarvox-cli.exe" --work "$TARVOX_BUILD/bench-data/aes" "$@"
