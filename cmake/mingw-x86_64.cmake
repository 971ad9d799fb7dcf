# Cross-compiling for 64-bit Windows: the test build on machines whose kernel runs no 32-bit
# programs.
set(KV_TARGET_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake)
