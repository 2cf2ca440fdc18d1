#!/usr/bin/env bash
# Runs a test command with a tiny drive: a 64 KB tmpfs mapped to a free drive
# letter of the Wine prefix for the length of the run, named to the test in
# DARVO_TINY_DRIVE ("K:"). Mounting needs root: without it, or when the mount
# fails, the test is not run and ctest reports it as skipped (exit code 77).
#
#   tiny_drive.sh PREFIX COMMAND [ARGS...]
set -u
prefix=$1
shift

if [ "$(id -u)" != 0 ]; then
    echo "tiny_drive.sh: mounting a tmpfs needs root: not run" >&2
    exit 77
fi

# One tiny drive at a time in this prefix, whoever runs the tests.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.tinydrive.lock"
flock 9

# The runner creates the prefix on first use; a drive added before would be
# lost with the prefix's copy.
[ -f "$prefix/.stamp" ] || "$@" --gtest_list_tests >/dev/null 2>&1 9>&-

mountpoint=$(mktemp -d /tmp/darvo-tinydrive.XXXXXX)
if ! mount -t tmpfs -o size=64k,mode=0777 darvo-tinydrive "$mountpoint"; then
    rmdir "$mountpoint"
    echo "tiny_drive.sh: cannot mount a tmpfs: not run" >&2
    exit 77
fi
letter=
for l in k l m n o p q r; do
    if [ ! -e "$prefix/dosdevices/$l:" ] && [ ! -L "$prefix/dosdevices/$l:" ]; then
        letter=$l
        break
    fi
done
cleanup() {
    [ -n "$letter" ] && rm -f "$prefix/dosdevices/$letter:"
    umount "$mountpoint" && rmdir "$mountpoint"
}
trap cleanup EXIT
if [ -z "$letter" ]; then
    echo "tiny_drive.sh: no free drive letter in $prefix: not run" >&2
    exit 77
fi
ln -s "$mountpoint" "$prefix/dosdevices/$letter:"

# Without the lock: a process that Wine starts for the test and that stays
# with the prefix's server (the desktop, explorer.exe) would hold it.
DARVO_TINY_DRIVE="${letter^^}:" "$@" 9>&-
