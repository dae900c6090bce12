#!/usr/bin/env bash
# Makes thornbeck.ico from the SVG the Linux desktop uses: drawn at the sizes Windows picks from
# (title bar, taskbar, Start menu, Explorer's views); the large one stays a PNG, as Windows
# expects.
#   make-icon.sh SVG ICO
set -euo pipefail
svg=$1
ico=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
small=()
for size in 16 20 24 32 40 48 64; do
  rsvg-convert --width "$size" --height "$size" --output "$work/$size.png" "$svg"
  small+=("$work/$size.png")
done
rsvg-convert --width 256 --height 256 --output "$work/256.png" "$svg"
icotool --create --output "$ico.part" "${small[@]}" --raw "$work/256.png"
mv "$ico.part" "$ico"
