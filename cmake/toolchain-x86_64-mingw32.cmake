# 64-bit Windows (x86_64-w64-mingw32): the same sources, for testing under a 64-bit Wine where
# the machine cannot run 32-bit programs.
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(WIDL_TARGET_FLAG --win64)
set(WIDL_TLB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
