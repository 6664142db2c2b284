#!/usr/bin/env bash
# Cross-builds Kestrelhollow for 64-bit Windows into build-win/ (the bundle in
# build-win/Kestrelhollow/, zipped as build-win/Kestrelhollow-win64.zip, the render tool in
# build-win/bin/) and, with --test, runs the Windows test suites under Wine.
# libsndfile-1.dll and libsoxr (linked into Kestrelhollow.dll) are cross-built once from Debian's
# source packages and kept in build-win/deps.
#   scripts/build-windows.sh [--test]
set -euo pipefail
cd "$(dirname "$0")/.."

run_tests=false
case "$*" in
  "") ;;
  --test) run_tests=true ;;
  *)
    echo "usage: $0 [--test]" >&2
    exit 2
    ;;
esac

build=build-win
deps=$PWD/$build/deps
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)
# The build's Wine prefix; every Windows program runs in it through scripts/wine.sh.
wine_prefix=$PWD/$build/wine
wine=$PWD/scripts/wine.sh
wineserver_program=$(command -v wineserver || echo /usr/lib/wine/wineserver)
wine_server() {
  WINEPREFIX=$wine_prefix "$wineserver_program" "$@"
}

# The Debian source packages libsndfile-1.dll and libsoxr are built from, at the versions the
# Windows suites passed with (Debian 12's), so that the libraries are the same on every machine.
# When apt no longer offers one of them, build and test with what it offers and update them here.
declare -A pinned_version=([libogg]=1.3.5-3 [libvorbis]=1.3.7-1 [opus]=1.3.1-3 [flac]=1.4.2+ds-2
  [libsndfile]=1.2.0-1+deb12u1 [libsoxr]=0.1.3-4)

install_packages() {
  local missing=()
  for package in g++-mingw-w64-x86-64 wine64 dpkg-dev zip xvfb xauth; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local run_as_root=()
  [ "$(id -u)" -eq 0 ] || run_as_root=(sudo)
  echo "Installing: ${missing[*]}"
  "${run_as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Fetches the pinned source of a package into the deps folder, unless it is there already.
fetch_source() {
  local package=$1
  local version=${pinned_version[$package]}
  [ -n "$(find "$deps/src" -maxdepth 1 -type d -name "$package-[0-9]*")" ] && return
  if ! apt-cache showsrc "$package" 2> /dev/null | grep -qx "Version: $version"; then
    echo "apt offers no source of $package $version, the version the Windows build is pinned to" >&2
    echo "(apt needs the deb-src entries that .ci/run adds; it offers:" \
      "$(apt-cache showsrc "$package" 2> /dev/null | sed -n 's/^Version: //p' | tr '\n' ' '))." >&2
    echo "Build and test with an offered version, then update pinned_version in $0." >&2
    exit 1
  fi
  (cd "$deps/src" && apt-get source -qq "$package=$version" > /dev/null)
}

# Builds a Debian source package with CMake for Windows and installs it into the deps folder.
# Arguments: the source package, then CMake settings for it.
cross_build_source() {
  local package=$1
  shift
  fetch_source "$package"
  local source
  source=$(find "$deps/src" -maxdepth 1 -type d -name "$package-[0-9]*" | head -n 1)
  cmake -S "$source" -B "$deps/build-$package" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DKH_WINDOWS_DEPS="$deps" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_TESTING=OFF "$@" \
    > /dev/null
  cmake --build "$deps/build-$package" -j "$jobs" > /dev/null
  cmake --install "$deps/build-$package" > /dev/null
}

# Opus's source release builds with its configure script only; its fortified string calls
# would need a library MinGW programs do not link.
cross_build_opus() {
  mkdir -p "$deps/build-opus"
  fetch_source opus
  local source
  source=$(find "$deps/src" -maxdepth 1 -type d -name 'opus-[0-9]*' | head -n 1)
  (cd "$deps/build-opus" && "$source/configure" --host=x86_64-w64-mingw32 --prefix="$deps" CC=x86_64-w64-mingw32-gcc-posix \
    CPPFLAGS=-D_FORTIFY_SOURCE=0 --disable-shared --disable-doc --disable-extra-programs --disable-stack-protector \
    > /dev/null &&
    make -j "$jobs" > /dev/null && make install > /dev/null)
}

# libsndfile-1.dll with the formats it reads by itself (WAV, AIFF, AU, CAF, W64 and the rest of
# its own) and FLAC, Ogg Vorbis and Opus: the codec libraries are linked into it statically.
# libsoxr, the sample-rate converter of Tuned sound, as a static library that the plug-in links:
# Windows looks for a plug-in's imported DLLs beside the host, not beside the plug-in, so a
# libsoxr DLL in the bundle would not be found. Without OpenMP: the plug-in converts on one thread.
build_deps() {
  # Deps built from other versions than the pinned ones are built again.
  [ "$(cat "$deps/versions" 2> /dev/null)" = "$(declare -p pinned_version)" ] && [ -f "$deps/bin/libsndfile-1.dll" ] &&
    [ -f "$deps/lib/libsoxr.a" ] && return
  rm -rf "$deps"
  mkdir -p "$deps/src"
  cross_build_source libogg -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF
  cross_build_source libvorbis -DBUILD_SHARED_LIBS=OFF
  cross_build_opus
  cross_build_source flac -DBUILD_SHARED_LIBS=OFF -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF -DWITH_STACK_PROTECTOR=OFF -DWITH_FORTIFY_SOURCE=OFF
  cross_build_source libsndfile -DBUILD_SHARED_LIBS=ON -DENABLE_COMPATIBLE_LIBSNDFILE_NAME=ON \
    -DENABLE_EXTERNAL_LIBS=ON -DENABLE_MPEG=OFF -DCMAKE_C_FLAGS=-DFLAC__NO_DLL -DBUILD_PROGRAMS=OFF \
    -DBUILD_EXAMPLES=OFF -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF
  cross_build_source libsoxr -DBUILD_SHARED_LIBS=OFF -DWITH_OPENMP=OFF -DWITH_LSR_BINDINGS=OFF -DBUILD_TESTS=OFF \
    -DBUILD_EXAMPLES=OFF
  declare -p pinned_version > "$deps/versions"
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

# The suites that open no windows run without a display. Debian's Wine server ends as soon as its
# last program does, and a program that connects just then fails ("recvmsg: Connection reset by
# peer"), so one server stays up while the suites start program after program. Its session's
# services start first, with their output going nowhere: started by a program under test, they
# would keep its output open and ctest would wait for them.
run_windowless_tests() {
  "$wine" --prefix "$wine_prefix" --prepare
  wine_server -w
  wine_server -p
  env -u DISPLAY "$wine" --prefix "$wine_prefix" wineboot > /dev/null 2>&1
  local status=0
  env -u DISPLAY ctest --test-dir "$build" --output-on-failure -j "$jobs" -LE display || status=$?
  wine_server -k 2> /dev/null || true
  wine_server -w
  return $status
}

# The tests labelled "display" open windows: Wine shows them on a virtual X display of their own
# (Xvfb). Wine's session takes its display from the process that starts it, so the windowless
# session of the other tests has ended before.
run_display_tests() {
  xvfb-run -a -s "-screen 0 1400x900x24 -nolisten tcp" ctest --test-dir "$build" --output-on-failure -L display
}

install_packages
build_deps
build_host_tools
build_windows
zip_bundle
if $run_tests; then
  run_windowless_tests
  run_display_tests
fi
