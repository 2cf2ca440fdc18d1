#!/usr/bin/env bash
# The medium that the Linux build of mkmedium makes, as a Win32 program sees
# it under Wine in code page 932: made natively from a CP932 description with
# Japanese names (表 and ソ end in the byte of a backslash), then checked by
# mkmedium.exe, which finds every file by the CP932 name in SETUP.LST and
# expands it.
#   native_medium.sh TOP MKMEDIUM_EXE WINE_PREFIX WORK_FOLDER
set -euo pipefail
top=$1 exe=$2 prefix=$3 work=$4
native=$top/build/native-mkmedium
if [ ! -x "$native/mkmedium" ]; then
    cmake -S "$top/mkmedium" -B "$native" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$native" >/dev/null
fi
rm -rf "$work"
mkdir -p "$work/ソース" "$work/setup"
printf 'MZ' >"$work/setup/SETUP.EXE"
seq 1 3000 >"$work/ソース/表.QLB"
seq 1 2000 >"$work/ソース/README"
printf '[Sample]\r\n$(AppPath)サンプル\\表.QLB=ソース\\表.QLB, compress\r\n[Files]\r\n$(AppPath)ソフト=ソース/README, compress\r\n' |
    iconv -f UTF-8 -t CP932 >"$work/medium.txt"
"$native/mkmedium" "$work/medium.txt" "$work/setup" "$work/out"
[ -f "$work/out/DISK1/表.QL_" ] && [ -f "$work/out/DISK1/ソフト._" ] || { echo "the compressed files are not named 表.QL_ and ソフト._" >&2; exit 1; }
exec "$top/scripts/wine-run" --prefix "$prefix" "$exe" --check "Z:$work/out"
