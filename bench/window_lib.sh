# Shared by the window benchmarks: the probe built, a display and a Wine prefix, the
# probe's window unmanaged (no window manager here), and the folder for the archives.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

# window_bench_setup: sets BENCH_DATA to the folder the benchmark archives live in.
window_bench_setup() {
    ensure_packages
    build_tree win32 open_probe
    ensure_display
    ensure_wine_prefix
    start_persistent_wineserver
    wine reg add 'HKCU\Software\Wine\AppDefaults\open_probe.exe\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1
    BENCH_DATA=$TARVOX_BUILD/bench-data
    mkdir -p "$BENCH_DATA"
}
