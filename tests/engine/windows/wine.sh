#!/bin/sh
# Runs the Windows tests under Wine, in a prefix of their own under the build
# folder, with no display (Wine's null graphics driver: windows and message
# boxes exist, nothing is drawn).
#
#   wine.sh setup PREFIX        make a fresh prefix
#   wine.sh run PREFIX EXE ARGS run EXE in it
#   wine.sh stop PREFIX         end the prefix's wineserver
set -eu
action=$1
WINEPREFIX=$2
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
shift 2
case "$action" in
  setup)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    # The faces hosts name, as the same free faces the raster device draws
    # them with (platform/fonts_freetype.cpp), so that text measures alike.
    for pair in "Arial=Liberation Sans" "Courier New=Liberation Mono" \
      "Times New Roman=Liberation Serif" "Roman=DejaVu Serif Condensed" \
      "Modern=DejaVu Sans Condensed" "MS Sans Serif=DejaVu Sans" "Ms Serif=DejaVu Serif"; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" \
        /d "${pair#*=}" /f >/dev/null 2>&1
    done
    wineserver -w
    # Kept up between the test programs (each would otherwise start its own
    # server, seconds each), and gone 10 s after the last one.
    wineserver -p10 </dev/null >/dev/null 2>&1
    ;;
  run)
    # Wine's helper processes (and a server wine starts itself) outlive the
    # program and would hold the caller's output open for seconds: the
    # output goes through a file they may keep instead.
    wineserver -p10 </dev/null >/dev/null 2>&1 || true
    log="$WINEPREFIX/run-$$.log"
    status=0
    wine "$@" >"$log" 2>&1 </dev/null || status=$?
    cat "$log"
    rm -f "$log"
    exit "$status"
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    ;;
  *)
    echo "wine.sh: unknown action $action" >&2
    exit 2
    ;;
esac
