# Sourced by the scripts that run Windows programs under Wine on Linux.
# Sets up one Wine prefix for the project and an X display for it.

DIALSERVER_ROOT=${DIALSERVER_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEPREFIX=${WINEPREFIX:-$DIALSERVER_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and Wine would offer to download them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

wine_reg() { "$WINE" reg add "$@" /f >/dev/null 2>&1; }

# Creates the prefix once: no crash dialog (a crash must fail a test, not wait
# for a click), Chinese glyphs linked into the dialog fonts, and a 1024x768
# virtual desktop, so that windows get Wine's own frame and a fixed screen.
ensure_wine_prefix() {
    [ -f "$WINEPREFIX/.dialserver-ready" ] && return 0
    echo "Creating the Wine prefix $WINEPREFIX ..."
    mkdir -p "$WINEPREFIX"
    timeout 300 "$WINE" wineboot -i >/dev/null 2>&1
    timeout 120 "$WINESERVER" -w
    # Debian's Wine does not look in its own font folder; without Marlett the
    # caption buttons show as letters.
    cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    wine_reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    local link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
        wine_reg "$link" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei'
    done
    wine_reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
    wine_reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768
    timeout 120 "$WINESERVER" -w
    touch "$WINEPREFIX/.dialserver-ready"
}

# Starts a private Xvfb when there is no display; the caller stops it with stop_own_display.
DIALSERVER_OWN_XVFB=""
ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        DIALSERVER_OWN_XVFB=$!
        export DISPLAY=":$n"
        for _ in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && return 0
            sleep 0.1
        done
        kill "$DIALSERVER_OWN_XVFB" 2>/dev/null
        DIALSERVER_OWN_XVFB=""
    done
    echo "could not start Xvfb" >&2
    return 1
}

stop_own_display() {
    [ -n "$DIALSERVER_OWN_XVFB" ] && kill "$DIALSERVER_OWN_XVFB" 2>/dev/null
    DIALSERVER_OWN_XVFB=""
}
