#!/usr/bin/env bash
# Builds Debian's own Qt (the qt6-base source package, the version of the host's Qt tools) for
# 64-bit Windows with MinGW-w64: static, release, Core, Gui, Widgets, Network (for the local
# socket) and Test (for the window's tests), the windows and offscreen platform plugins. It installs into a cache folder outside the work tree
# whose name carries the Qt version and a hash of the options, and does nothing when that folder
# is there. Prints the folder on its last line.
#   scripts/build-qt-windows.sh [CACHE_ROOT]        (default ~/.cache/thornbeck)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cache_root=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/thornbeck}

version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
[ -n "$version" ] || { echo "build-qt-windows.sh: qt6-base-dev is not installed" >&2; exit 1; }
upstream=${version%%+*}

options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DINPUT_opengl=no
  -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF -DFEATURE_icu=OFF
  -DFEATURE_zstd=OFF -DFEATURE_static_runtime=ON
  # Network only for the local socket that keeps the editor to one window; no TLS backends.
  -DFEATURE_openssl=OFF -DFEATURE_schannel=OFF -DFEATURE_brotli=OFF -DFEATURE_gssapi=OFF
  -DFEATURE_networklistmanager=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DQT_QPA_DEFAULT_PLATFORM=windows
)
patches=("$here"/patches/qt6-base-*.patch)
hash=$( { printf '%s\n' "${options[@]}"; cat "${patches[@]}"; } | sha256sum | cut -c1-12)
prefix=$cache_root/qt-$upstream-mingw64-$hash
if [ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  echo "$prefix"
  exit 0
fi

work=$cache_root/qt-$upstream-work-$hash
rm -rf "$work" && mkdir -p "$work"
start=$(date +%s)
say() { echo "build-qt-windows.sh: $* ($(( $(date +%s) - start )) s)"; }

# Debian's source through an apt folder of our own: a deb-src line made from the machine's own
# sources, so the system's configuration stays as it is; apt checks the archive's signatures.
apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d"
{
  { grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list || true; } |
    sed 's/^deb /deb-src /'
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f"
    echo
  done
} > "$apt_dir/sources.list.d/thornbeck.sources.tmp"
# One-line entries and deb822 stanzas go into files apt reads by their suffix.
grep '^deb-src ' "$apt_dir/sources.list.d/thornbeck.sources.tmp" > "$apt_dir/sources.list" || true
grep -v '^deb-src ' "$apt_dir/sources.list.d/thornbeck.sources.tmp" \
  > "$apt_dir/sources.list.d/thornbeck.sources" || true
rm "$apt_dir/sources.list.d/thornbeck.sources.tmp"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d" -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache::Archives=$apt_dir/archives" -o "APT::Sandbox::User=root")
say "fetching the qt6-base $version sources"
apt-get "${apt_options[@]}" update -q >/dev/null
(cd "$work" && apt-get "${apt_options[@]}" source -q --only-source "qt6-base=$version" >/dev/null)
source_dir=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -d "$source_dir" ] || { echo "build-qt-windows.sh: no source folder" >&2; exit 1; }
for patch in "${patches[@]}"; do patch -d "$source_dir" -p1 -s < "$patch"; done

say "configuring"
cmake -S "$source_dir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$work/configure.log" 2>&1 ||
  { tail -n 40 "$work/configure.log" >&2; exit 1; }
say "building with $(nproc) cores"
cmake --build "$work/build" --parallel "$(nproc)" >"$work/build.log" 2>&1 ||
  { tail -n 40 "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >/dev/null
say "installed"
rm -rf "$work"
echo "$prefix"
