# 32-bit Windows (i686-w64-mingw32): the deliverables' own architecture.
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(WIDL_TARGET_FLAG --win32)
set(WIDL_TLB_DIR /usr/lib/i386-linux-gnu/wine/i386-windows)   # stdole2.tlb
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
