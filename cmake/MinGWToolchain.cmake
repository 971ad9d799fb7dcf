# Cross-compiling with Debian's MinGW-w64 (posix thread model) for KV_TARGET_PROCESSOR, which the
# toolchain file that includes this one sets.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KV_TARGET_PROCESSOR})
set(CMAKE_C_COMPILER ${KV_TARGET_PROCESSOR}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${KV_TARGET_PROCESSOR}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${KV_TARGET_PROCESSOR}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KV_TARGET_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Test executables run under Wine through the project's wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-test)
