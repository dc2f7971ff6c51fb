#!/usr/bin/env bash
# Runs the README's test command on a minimal Debian 12 made afresh, as a newcomer's machine
# would be: debootstrap's minbase with git and ca-certificates, the committed tree cloned
# into it, nothing else. Not part of CI: it takes as long as a whole CI run. Run it before
# resolving a change that adds or changes a dependency.
#
#     bash scripts/clean-machine-check.sh [--keep] [SCRATCH]
#
# SCRATCH (a new temporary folder by default) holds the root; it is removed at the end
# unless --keep is given. Needs root (debootstrap, chroot and mounts).
set -euo pipefail

keep=0
if [ "${1:-}" = --keep ]; then
    keep=1
    shift
fi
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=${1:-$(mktemp -d /tmp/tarvox-clean.XXXXXX)}
root=$work/root

say() { printf '\033[1m== %s\033[0m\n' "$*" >&2; }

if [ "$(id -u)" -ne 0 ]; then
    say "the check needs root: debootstrap, chroot and mounts"
    exit 2
fi

# Every process left inside the root, then every mount under it, deepest first: a failed
# or interrupted run must not leave a Wine server or an Xvfb holding the folder.
cleanup() {
    local pid link
    for link in /proc/[0-9]*/root; do
        pid=${link#/proc/}
        pid=${pid%/root}
        [ "$(readlink "$link" 2>/dev/null)" = "$root" ] && kill -9 "$pid" 2>/dev/null
    done
    sleep 1
    grep -o " $root[^ ]*" /proc/mounts | sort -r | while read -r mount; do
        umount -l "$mount" 2>/dev/null || true
    done
    if [ $keep -eq 0 ]; then
        rm -rf "$work"
    else
        say "the root stays in $root"
    fi
}
trap cleanup EXIT

# The mirror this machine's own apt uses for bookworm (not its security suite).
machine_mirror() {
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk '/^URIs:/ { uri = $2 } /^Suites:/ && / bookworm( |$)/ { print uri; exit }' "$file"
    done | head -n 1
    if [ -f /etc/apt/sources.list ]; then
        awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list
    fi
}
mirror=$(machine_mirror | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian}

if ! command -v debootstrap >/dev/null; then
    say "installing debootstrap"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
fi

start=$(date +%s)
say "making a minimal Debian 12 in $root from $mirror"
mkdir -p "$root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 || {
    say "debootstrap failed (log: $work/debootstrap.log)"
    keep=1
    exit 1
}

# The machine's own apt sources, deb-src entries and all, and its apt settings.
rm -f "$root/etc/apt/sources.list"
cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/" 2>/dev/null || true
[ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$root/etc/apt/"
cp /etc/apt/apt.conf.d/99* "$root/etc/apt/apt.conf.d/" 2>/dev/null || true
cp /etc/resolv.conf "$root/etc/resolv.conf"

mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount -t devpts devpts "$root/dev/pts" -o newinstance,ptmxmode=0666 2>/dev/null ||
    mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs shm "$root/dev/shm"

in_root() {
    chroot "$root" env -i HOME=/root TERM=dumb PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c "$1"
}

say "installing git and ca-certificates"
in_root 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq git ca-certificates >/dev/null'
say "cloning $(git -C "$repo" rev-parse --short HEAD) of $repo"
git clone -q "$repo" "$root/root/tarvox"

say "running the README's test command: bash scripts/test.sh"
test_start=$(date +%s)
set +e
in_root 'cd /root/tarvox && bash scripts/test.sh' 2>&1 | tee "$work/test.log"
status=${PIPESTATUS[0]}
set -e
end=$(date +%s)
minutes() { printf '%d min %02d s' $(($1 / 60)) $(($1 % 60)); }
if [ "$status" -eq 0 ]; then
    say "clean machine: the test command PASSED in $(minutes $((end - test_start))) ($(minutes $((end - start))) with the root)"
else
    say "clean machine: the test command FAILED (exit $status) after $(minutes $((end - test_start)))"
    keep=1
fi
exit "$status"
