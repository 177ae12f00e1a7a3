# Shared part of the MinGW-w64 cross toolchains; the including file sets TOOLCHAIN_PREFIX,
# CMAKE_SYSTEM_PROCESSOR, WIDL_TARGET_FLAG and WIDL_TLB_DIR first.
set(CMAKE_SYSTEM_NAME Windows)

# The win32 thread model: its run-time (libgcc, libstdc++) calls only what Windows 2000 has, where
# the posix model's winpthreads imports GetTickCount64 (Vista) and AddVectoredExceptionHandler
# (XP) into every program. It has no std::thread or std::mutex: the code uses Win32's own.
# Everything, tests included, is built with it, so no object meets a libstdc++ of the other model.
set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_AR           ${TOOLCHAIN_PREFIX}-gcc-ar-win32 CACHE FILEPATH "")
set(CMAKE_RANLIB       ${TOOLCHAIN_PREFIX}-gcc-ranlib-win32 CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler runtime (libgcc, libstdc++) linked statically: no MinGW DLL at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine.
get_filename_component(_repo_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_repo_root}/scripts/wine-run)

set(WIDL_EXECUTABLE ${TOOLCHAIN_PREFIX}-widl)
set(WIDL_IDL_DIR /usr/include/wine/wine/windows)
