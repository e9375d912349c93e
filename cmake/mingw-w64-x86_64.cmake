# Cross build for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64-posix).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The posix thread model gives std::thread and std::mutex; the runtime is linked statically so
# the programs need only the DLLs Windows itself ships. Test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZELMAR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELMAR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELMAR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELMAR_MINGW_PREFIX}-windres)

# Headers and libraries from the mingw sysroot only; programs (cmake, makensis) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${ZELMAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run under Wine, in a prefix of the build folder's own.
get_filename_component(_zelmar_wine_run ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_zelmar_wine_run} --prefix ${CMAKE_BINARY_DIR}/wine-prefix)
