# Shared settings of the project's scripts; sourced, not run.
KETROVAL_CACHE=${KETROVAL_CACHE:-$HOME/.cache/ketroval2}
export KETROVAL_CACHE
export WINEPREFIX=${KETROVAL_WINEPREFIX:-$KETROVAL_CACHE/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts and no desktop menu entries: the program needs none of them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
