# Shared settings for every script that runs Wine; source it, do not run it.
#
# The prepared prefix template lives outside the work tree so that a fresh
# clone and every build directory can share it.

DARVO_CACHE=${DARVO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/darvo5-setup}
WINE_TEMPLATE=$DARVO_CACHE/wine-template
# Debian's wine32 package provides the 32-bit loader; wine64 does not.
have_wine32() {
    [ -x /usr/lib/wine/wine ] || [ -x /usr/lib/i386-linux-gnu/wine/wine ]
}

# Raised whenever the template recipe below changes, so bootstrap rebuilds it.
# A prefix made before wine32 was installed has no 32-bit system DLLs (a
# 32-bit exe then fails with "could not load kernel32.dll"): the stamp names
# the kind of prefix, so a 64-bit-only template is made again once wine32 is
# there.
# A function, not a value: bootstrap may install wine32 after sourcing this.
wine_template_stamp() {
    echo "4-$(have_wine32 && echo wow64 || echo win64only)"
}

export WINEARCH=win64
export WINEDEBUG=-all
# mscoree/mshtml: no Mono or Gecko download prompts; winemenubuilder: shortcuts
# made by the program must not turn into menu entries of the Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Runs Wine with code page 932. LANG is set only for Wine: exported globally it
# would turn the shell's own messages Japanese.
wine_ja() {
    LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine "$@"
}

# Starts a wineserver for $WINEPREFIX that persists $1 seconds after its last
# process (forever without $1), unless one runs already. The server and Wine's
# services (started by wineboot) live on after this script: they must hold
# none of its files or pipes, or ctest, which waits for every holder of a
# test's output pipe (and hands its log to its children as fd 3), waits for
# the server to end. wineserver exits non-zero when one runs already.
wine_server_start() {
    (
        for fd in /proc/$BASHPID/fd/*; do
            fd=${fd##*/}
            [ "$fd" -gt 2 ] 2>/dev/null && eval "exec $fd>&-"
        done
        if wineserver -p${1:-} </dev/null >/dev/null 2>&1; then
            wine_ja wineboot </dev/null >/dev/null 2>&1
        fi
    )
    return 0
}

wine_server_stop() {
    wineserver -k </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    return 0
}

# Copies the template into a new prefix folder (about a second).
wine_prefix_copy() {
    local dest=$1
    [ -f "$WINE_TEMPLATE/.stamp" ] || { echo "no Wine prefix template at $WINE_TEMPLATE: run scripts/bootstrap" >&2; return 1; }
    rm -rf "$dest"
    mkdir -p "$(dirname "$dest")"
    cp -a "$WINE_TEMPLATE" "$dest"
    # Wine links the user's shell folders (Desktop, Documents, ...) to this
    # machine's home folder. A prefix of the tests gets real folders in their
    # place, so that what a program under test puts there or removes (an
    # uninstall that a broken guard lets loose on C:\) stays in the prefix.
    local link
    for link in "$dest"/drive_c/users/*/*; do
        if [ -L "$link" ] && [ -d "$link" ]; then
            rm "$link" && mkdir "$link"
        fi
    done
}

# Starts an X server of our own on a free display and exports DISPLAY;
# xvfb_stop ends it. Xvfb has no window manager: Wine draws the title bars
# itself (the template's "Managed"="N", "Decorated"="N").
xvfb_start() {
    # -displayfd: the server takes the first free display itself and says
    # which once it listens. Choosing the number here raced: two tests
    # starting together took the same number, one server failed, and both
    # tests drew and moved the pointer on the other's display.
    local out
    out=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out" </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
        if [ -s "$out" ]; then
            export DISPLAY=:$(head -n1 "$out")
            rm -f "$out"
            return 0
        fi
        sleep 0.1
    done
    rm -f "$out"
    echo "Xvfb did not start" >&2
    return 1
}
xvfb_stop() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=
    return 0
}
