#!/bin/bash
# Runs a benchmark on a fresh journaled ext4 volume of its own, under
# `tini -s`, its temporary data on that volume:
#
#   sudo bash bench/on-fresh-volume.sh build/bench/bench_install --mb 270 ...
#
# The volume is an image file beside the repository's build (or in
# $KORVANE_BENCH_IMAGE_DIR), attached with direct I/O: its writes then reach
# the disk when the file system flushes them, instead of sitting in the page
# cache of the file system that holds the image and being written out later,
# into whichever run comes next. Inode tables and journal are initialised at
# once, so no lazy-init thread writes during the runs. Unmounted and removed
# at the end, also on failure. Needs root, tini, e2fsprogs and losetup.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 BENCH [ARGS...]" >&2; exit 2; }
[ "$(id -u)" = 0 ] || { echo "$0: needs root (mkfs, losetup, mount)" >&2; exit 2; }
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$(mktemp -d "${KORVANE_BENCH_IMAGE_DIR:-$here/build}/bench-volume.XXXXXX")
image=$dir/volume.img
mnt=$dir/mnt
dev=
cleanup() {
    mountpoint -q "$mnt" && umount "$mnt"
    [ -n "$dev" ] && losetup -d "$dev"
    rm -rf "$dir"
}
trap cleanup EXIT
truncate -s "${KORVANE_BENCH_VOLUME_SIZE:-12G}" "$image"
mkfs.ext4 -q -F -E lazy_itable_init=0,lazy_journal_init=0 "$image"
dev=$(losetup --direct-io=on -f --show "$image")
mkdir "$mnt"
mount "$dev" "$mnt"
chmod 0755 "$dir"
tini -s -- "$@" --root "$mnt"
