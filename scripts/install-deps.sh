#!/usr/bin/env bash
# Installs the Debian packages the build needs, skipping those already there.
set -euo pipefail

# With --editor: only what building and running the editor needs (scripts/run.sh). Otherwise
# everything the tests need too. Further arguments are further packages.
editor_only=false
if [ "${1:-}" = --editor ]; then
  editor_only=true
  shift
fi
# The build and the window (the SVG plugin draws its icon).
packages=(cmake ninja-build g++ qt6-base-dev libqt6svg6 fonts-dejavu-core "$@")
if ! $editor_only; then
  # The tests, benchmarks and fuzz targets.
  packages+=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev)
  # Installing and packaging checks (validators, man, dpkg-shlibdeps and the file utility
  # CPack's dependency scan runs; strace, to inject faults in the file calls) and the Windows
  # build (MinGW-w64, GoogleTest's sources, Wine; the icon's drawing and packing; NSIS for the
  # installer).
  packages+=(desktop-file-utils appstream man-db dpkg-dev file strace
    g++-mingw-w64-x86-64-posix googletest wine64 librsvg2-bin icoutils nsis)
fi
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
