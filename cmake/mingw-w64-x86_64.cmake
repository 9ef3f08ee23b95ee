# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix: the
# posix threads variant, which std::thread needs).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DKELVANE_BUILD_WINDOW=OFF
# Programs and DLLs are linked statically, the C++ and threads run-time included, so that no
# MinGW DLL has to be copied beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELVANE_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${KELVANE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVANE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVANE_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KELVANE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
