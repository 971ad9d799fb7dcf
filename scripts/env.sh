# Shared settings of the project's scripts; sourced, not run.
KETROVAL_CACHE=${KETROVAL_CACHE:-$HOME/.cache/ketroval2}
export KETROVAL_CACHE
export WINEPREFIX=${KETROVAL_WINEPREFIX:-$KETROVAL_CACHE/wineprefix}
# The prepared prefix checks the heap (the tests and the fuzz targets run there); the user's
# program and the benchmarks run beside it on the plain heap (scripts/setup makes this prefix).
plain_prefix=$WINEPREFIX-plain
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts and no desktop menu entries: the program needs none of them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
