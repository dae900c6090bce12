#!/usr/bin/env bash
# Installs the Debian packages the build needs, skipping those already there.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libbenchmark-dev fonts-dejavu-core
  clang libclang-rt-14-dev "$@")
# Installing and packaging checks (the icon's SVG plugin, validators, man, dpkg-shlibdeps and
# the file utility CPack's dependency scan runs; strace, to refuse hard links in a test) and
# the Windows build (MinGW-w64, GoogleTest's sources, Wine; the icon's drawing and packing;
# NSIS for the installer).
packages+=(libqt6svg6 desktop-file-utils appstream man-db dpkg-dev file strace
  g++-mingw-w64-x86-64-posix googletest wine64 librsvg2-bin icoutils nsis)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "Missing packages: ${missing[*]}; install them as root (apt-get install ${missing[*]})." >&2
  exit 1
fi
echo "Installing ${missing[*]} ..."
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q "${missing[@]}"
