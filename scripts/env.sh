# Shared settings of the project's scripts; sourced, not run.
KETROVAL_CACHE=${KETROVAL_CACHE:-$HOME/.cache/ketroval2}
export KETROVAL_CACHE
mkdir -p "$KETROVAL_CACHE"

# The program is a 32-bit Windows program. A kernel without 32-bit emulation (ia32_emulation off)
# starts no 32-bit Linux program, Wine's 32-bit side included. There the same sources are built for
# 64-bit Windows and run under Wine's 64-bit side instead; or, asked with KV_EMULATE=1 (as root),
# the 32-bit program runs through the emulator in a namespace of its own (scripts/emulated, which
# sets KV_EMULATED) with Wine's 64-bit side and a 64-bit prefix around it. The emulator breaks a
# process whose threads run at the same time (tests/EmulatorFaults.cmake), so it is not the default.
# The probe is a minimal 32-bit ELF that only exits: only "Exec format error" (126) means the kernel
# refuses such programs.
if [ -n "${KV_EMULATED:-}" ]; then
  KV_ARCH=i686 KV_EMULATE=1
elif [ "${KV_ARCH:-}" != x86_64 ]; then
  probe=$KETROVAL_CACHE/elf32-probe
  if [ ! -x "$probe" ]; then
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe.tmp"
    chmod +x "$probe.tmp"
    mv "$probe.tmp" "$probe"
  fi
  KV_ARCH=i686
  if "$probe" 2>/dev/null || [ $? != 126 ]; then
    KV_EMULATE=""
  elif [ "${KV_EMULATE:-}" != 1 ] || [ "$(id -u)" != 0 ]; then
    # The namespace's user map needs root.
    KV_ARCH=x86_64
  fi
fi
KV_EMULATE=${KV_EMULATE:-}
[ "$KV_ARCH" = i686 ] || KV_EMULATE=""
export KV_ARCH KV_EMULATE
if [ "$KV_ARCH" = i686 ] && [ -z "$KV_EMULATE" ]; then
  kv_suffix="" kv_prefix_suffix=""
  export WINEARCH=win32
else
  kv_suffix=-$KV_ARCH kv_prefix_suffix=-$KV_ARCH
  [ -z "$KV_EMULATE" ] || kv_suffix="" kv_prefix_suffix=-emu
  export WINEARCH=win64
  # Debian's wine command prefers the 32-bit loader whenever it is installed; the 64-bit loader
  # hands a 32-bit program to the 32-bit one itself.
  PATH=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64:$PATH
  export WINELOADER=/usr/lib/wine/wine64
fi
export WINEPREFIX=${KETROVAL_WINEPREFIX:-$KETROVAL_CACHE/wineprefix$kv_prefix_suffix}
# The prepared prefix checks the heap (the tests and the fuzz targets run there); the user's
# program and the benchmarks run beside it on the plain heap (scripts/setup makes this prefix).
plain_prefix=$WINEPREFIX-plain
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts and no desktop menu entries: the program needs none of them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
# The build of the machine's architecture: build/ (or $KETROVAL_BUILD), with the suffix above for
# the 64-bit one. The 32-bit program is built in build/ either way.
kv_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kv_build32=${KETROVAL_BUILD:-$kv_top/build}
kv_build=$kv_build32$kv_suffix
