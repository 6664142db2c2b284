#!/usr/bin/env bash
# Installs the Debian packages that building and testing Kestrelhollow need, if any is missing.
#   scripts/install-packages.sh           what the build and the test suites need
#   scripts/install-packages.sh --ardour  the same and Ardour, the host the host test runs in
# Root installs directly; another user installs through sudo, or, without sudo, is told the
# command to run as root and the script fails.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format universal-ctags
  googletest libgtest-dev libbenchmark-dev
  libsndfile1 libsndfile1-dev libsoxr-dev
  libx11-dev libcairo2-dev fonts-liberation2 xvfb xauth
)
case "${1:-}" in
  "") ;;
  --ardour) packages+=(ardour) ;;
  *)
    echo "usage: $0 [--ardour]" >&2
    exit 2
    ;;
esac

installed() {
  dpkg-query -W -f='${Status}' "$1" 2> /dev/null | grep -q "install ok installed"
}

# install_missing PACKAGE...: installs those that are missing, as root or through sudo, after
# updating the package lists; without root or sudo it tells the command to run and fails.
install_missing() {
  local missing=() package
  for package in "$@"; do
    installed "$package" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local run_as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo > /dev/null || tell_root_command "${missing[@]}"
    run_as_root=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  { "${run_as_root[@]}" apt-get update -qq &&
    "${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"; } ||
    tell_root_command "${missing[@]}"
}

tell_root_command() {
  echo "Missing Debian packages: $*" >&2
  echo "Run as root, then run this again:" >&2
  echo "  apt-get update && apt-get install -y --no-install-recommends $*" >&2
  exit 1
}

install_missing "${packages[@]}"
# The fuzzers need the runtime of the clang just installed (libclang-rt-14-dev for clang 14).
install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
