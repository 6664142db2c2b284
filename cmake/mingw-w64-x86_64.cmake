# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread model, which has
# std::thread and std::mutex). Programs run on this machine through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KH_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KH_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KH_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KH_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KH_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No runtime DLLs beside our own: the compiler's libraries are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Libraries cross-built for Windows (libsndfile) are found through their pkg-config files.
if(KH_WINDOWS_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} ${KH_WINDOWS_DEPS}/lib/pkgconfig)
  list(APPEND CMAKE_FIND_ROOT_PATH ${KH_WINDOWS_DEPS})
endif()

# Windows programs of the build (generators, test listing, tests) run under Wine in the build's
# own prefix, made complete before the first of them starts.
find_program(KH_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(KH_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine.sh --prefix ${CMAKE_BINARY_DIR}/wine)
endif()
