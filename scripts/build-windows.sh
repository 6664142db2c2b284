#!/usr/bin/env bash
# Cross-builds Kestrelhollow for 64-bit Windows into build-win/ (the bundle in
# build-win/Kestrelhollow/, zipped as build-win/Kestrelhollow-win64.zip, the render tool in
# build-win/bin/) and, with --test, runs the Windows test suites under Wine.
# libsndfile-1.dll is cross-built once from Debian's source package and kept in build-win/deps.
set -euo pipefail
cd "$(dirname "$0")/.."

run_tests=false
[ "${1:-}" = "--test" ] && run_tests=true

build=build-win
deps=$PWD/$build/deps
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)
export WINEPREFIX=$PWD/$build/wine WINEDEBUG=-all
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)

install_packages() {
  local missing=()
  for package in g++-mingw-w64-x86-64 wine64 dpkg-dev zip xvfb xauth; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local run_as_root=()
  [ "$(id -u)" -eq 0 ] || run_as_root=(sudo)
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Builds a Debian source package with CMake for Windows and installs it into the deps folder.
# Arguments: the source package, then CMake settings for it.
cross_build_source() {
  local package=$1
  shift
  mkdir -p "$deps/src"
  local source
  source=$(find "$deps/src" -maxdepth 1 -type d -name "$package-[0-9]*" | head -n 1)
  if [ -z "$source" ]; then
    (cd "$deps/src" && apt-get source -qq "$package" > /dev/null) || {
      echo "apt-get source $package failed: apt needs the deb-src entries that .ci/run adds" >&2
      exit 1
    }
    source=$(find "$deps/src" -maxdepth 1 -type d -name "$package-[0-9]*" | head -n 1)
  fi
  cmake -S "$source" -B "$deps/build-$package" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DKH_WINDOWS_DEPS="$deps" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_TESTING=OFF "$@" \
    > /dev/null
  cmake --build "$deps/build-$package" -j "$jobs" > /dev/null
  cmake --install "$deps/build-$package" > /dev/null
}

# Opus's source release builds with its configure script only; its fortified string calls
# would need a library MinGW programs do not link.
cross_build_opus() {
  mkdir -p "$deps/src" "$deps/build-opus"
  [ -n "$(find "$deps/src" -maxdepth 1 -type d -name 'opus-[0-9]*')" ] || (cd "$deps/src" && apt-get source -qq opus > /dev/null)
  local source
  source=$(find "$deps/src" -maxdepth 1 -type d -name 'opus-[0-9]*' | head -n 1)
  (cd "$deps/build-opus" && "$source/configure" --host=x86_64-w64-mingw32 --prefix="$deps" CC=x86_64-w64-mingw32-gcc-posix \
    CPPFLAGS=-D_FORTIFY_SOURCE=0 --disable-shared --disable-doc --disable-extra-programs --disable-stack-protector \
    > /dev/null &&
    make -j "$jobs" > /dev/null && make install > /dev/null)
}

# libsndfile-1.dll with the formats it reads by itself (WAV, AIFF, AU, CAF, W64 and the rest of
# its own) and FLAC, Ogg Vorbis and Opus: the codec libraries are linked into it statically.
build_sndfile() {
  [ -f "$deps/bin/libsndfile-1.dll" ] && return
  cross_build_source libogg -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF
  cross_build_source libvorbis -DBUILD_SHARED_LIBS=OFF
  cross_build_opus
  cross_build_source flac -DBUILD_SHARED_LIBS=OFF -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF -DWITH_STACK_PROTECTOR=OFF -DWITH_FORTIFY_SOURCE=OFF
  cross_build_source libsndfile -DBUILD_SHARED_LIBS=ON -DENABLE_COMPATIBLE_LIBSNDFILE_NAME=ON \
    -DENABLE_EXTERNAL_LIBS=ON -DENABLE_MPEG=OFF -DCMAKE_C_FLAGS=-DFLAC__NO_DLL -DBUILD_PROGRAMS=OFF \
    -DBUILD_EXAMPLES=OFF -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF
}

# The skin generator draws with Cairo on this machine; only it is built natively.
build_host_tools() {
  cmake -S . -B "$build/host" -G Ninja -Wno-dev -DKH_BUILD_TESTS=OFF -DKH_BUILD_BENCHMARKS=OFF \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} > /dev/null
  cmake --build "$build/host" -j "$jobs" --target kh_skin_generator
}

build_windows() {
  cmake -S . -B "$build" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKH_WINDOWS_DEPS="$deps" \
    -DKH_HOST_SKIN_GENERATOR="$PWD/$build/host/tools/skin/kh_skin_generator" -DKH_BUILD_BENCHMARKS=OFF \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_C_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} > /dev/null
  cmake --build "$build" -j "$jobs"
}

# The bundle folder as users unpack it, its libraries without debugging information; files the
# plug-in writes at run time stay out.
zip_bundle() {
  local staging=$build/zip
  rm -rf "$staging" "$build/Kestrelhollow-win64.zip"
  mkdir -p "$staging"
  cp -r "$build/Kestrelhollow" "$staging/"
  rm -f "$staging/Kestrelhollow/Kestrelhollow.cfg"
  x86_64-w64-mingw32-strip --strip-debug "$staging"/Kestrelhollow/*.dll
  (cd "$staging" && zip -qrX ../Kestrelhollow-win64.zip Kestrelhollow)
  rm -rf "$staging"
  echo "Wrote $build/Kestrelhollow-win64.zip"
}

# Wine makes its prefix on its first run (some seconds, during the build); the editor's "Arial"
# is Liberation Sans there.
prepare_wine() {
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f > /dev/null
}

# The tests labelled "display" open windows: Wine shows them on a virtual X display of their own
# (Xvfb). Wine's session takes its display from the process that starts it, so the windowless
# session of the other tests ends first.
run_display_tests() {
  "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -w
  xvfb-run -a -s "-screen 0 1400x900x24 -nolisten tcp" ctest --test-dir "$build" --output-on-failure -L display
}

install_packages
build_sndfile
build_host_tools
build_windows
zip_bundle
if $run_tests; then
  prepare_wine
  # No display: the programs under test open no windows.
  env -u DISPLAY ctest --test-dir "$build" --output-on-failure -j "$jobs" -LE display
  run_display_tests
fi
