#!/usr/bin/env bash
# Installs the Debian packages that building and testing Kestrelhollow need, if any is missing.
#   scripts/install-packages.sh           what the build and the test suites need
#   scripts/install-packages.sh --ardour  the same and Ardour, the host the host test runs in
# Root installs directly; another user installs through sudo, or, without sudo, is told the
# command to run as root and the script fails.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  libsndfile1 libsndfile1-dev
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

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

install_command="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
tell_root_command() {
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Run as root, then run this again:" >&2
  echo "  $install_command" >&2
  exit 1
}

# install [sudo]: updates the package lists and installs what is missing, as root or through sudo.
install() {
  echo "Installing: ${missing[*]}"
  "$@" apt-get update -qq &&
    "$@" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
if [ "$(id -u)" -eq 0 ]; then
  install
elif command -v sudo > /dev/null; then
  install sudo || tell_root_command
else
  tell_root_command
fi
