# Sourced by the run and test scripts: the project's own Wine prefix, set up
# once with CJK font replacements, and a wineserver kept alive across the run
# (each cold start of Wine costs seconds).
#
# After sourcing: WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES and TARNOLUX_WINE
# are exported, and the prefix is ready.

TARNOLUX_ROOT=${TARNOLUX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${TARNOLUX_WINEPREFIX:-$TARNOLUX_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs them, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
export TARNOLUX_WINE=$(command -v wine64 || command -v wine)

tarnolux_wine_prefix() {
  local stamp=$WINEPREFIX/.tarnolux-fonts
  if [[ ! -f $stamp ]]; then
    mkdir -p "$WINEPREFIX"
    "$TARNOLUX_WINE" wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    "$TARNOLUX_WINE" regedit /S "$(winepath -w "$TARNOLUX_ROOT/scripts/wine-fonts.reg" 2>/dev/null)" >/dev/null 2>&1 \
      || "$TARNOLUX_WINE" regedit /S "$TARNOLUX_ROOT/scripts/wine-fonts.reg" >/dev/null 2>&1
    wineserver -w || true
    touch "$stamp"
  fi
  # Persistent server for the rest of this run; ends by itself when idle.
  wineserver -p 60 >/dev/null 2>&1 </dev/null || true
  # Wine's background services start with the first program and inherit its
  # output; a throwaway first program with no output keeps them from holding
  # a test runner's pipe open after the tests have ended.
  "$TARNOLUX_WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

tarnolux_wine_prefix
