#!/usr/bin/env bash
# Builds Thornbeck and opens it on the bundled sample registry (or on the file given).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --editor
# The editor alone: no tests or benchmarks, so nothing beyond its own packages is needed.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTHORNBECK_TESTS=OFF \
  -DTHORNBECK_BENCH=OFF >/dev/null
cmake --build build --target thornbeck

if [ "$(uname -s)" = Linux ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: to run Thornbeck without one, use Xvfb: apt-get install xvfb && xvfb-run -a build/thornbeck"
  exit 1
fi
# With no file named, the sample xRegistry.sys beside the program opens by itself.
exec build/thornbeck "$@"
