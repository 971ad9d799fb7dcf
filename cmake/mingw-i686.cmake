# Cross-compiling for 32-bit Windows.
set(KV_TARGET_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake)
