#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix (never the user's), creating
# the prefix once: no Mono/Gecko prompts, and font substitutes so Chinese text has glyphs.
# With --prepare-only it only makes sure the prefix is ready.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${HXT_WINEPREFIX:-$here/build/win64/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$(dirname "$WINEPREFIX")"
(
  # Another run may be making the prefix right now: say why nothing seems to happen.
  flock -n 9 || { [ -f "$WINEPREFIX/.hxt-ready" ] || echo "Waiting for Wine to finish preparing $WINEPREFIX ..." >&2; flock 9; }
  if [ ! -f "$WINEPREFIX/.hxt-ready" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX (a minute or two the first time) ..." >&2
    wineboot -u >/dev/null 2>&1 || true
    wineserver -w || true
    reg=$(mktemp --suffix=.reg)
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n'
      printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
      printf '"宋体"="WenQuanYi Micro Hei"\r\n"SimSun"="WenQuanYi Micro Hei"\r\n"Consolas"="DejaVu Sans Mono"\r\n'
    } | iconv -f UTF-8 -t UTF-16 > "$reg"
    wine regedit /S "$reg" >/dev/null 2>&1 || true
    wineserver -w || true
    rm -f "$reg"
    touch "$WINEPREFIX/.hxt-ready"
    echo "Wine prefix ready." >&2
  fi
  # Tests run on a bare X server, where no window manager ever answers: Wine then waits 2 s at
  # each show and hide of a window it lets a manager handle. HXT_WINE_UNMANAGED=1 manages none.
  if [ "${HXT_WINE_UNMANAGED:-0}" = 1 ] && [ ! -f "$WINEPREFIX/.hxt-unmanaged" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$WINEPREFIX/.hxt-unmanaged"
  fi
) 9>"$WINEPREFIX.lock"
[ "${1:-}" = --prepare-only ] && exit 0
exec wine "$@"
