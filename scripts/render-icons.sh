#!/usr/bin/env bash
# Renders the application icon's PNG sizes for the hicolor theme from its SVG.
# Run after changing res/icons/io.keynest.Keynest.svg and commit the PNGs.
# Needs rsvg-convert (package librsvg2-bin).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
svg="$root/res/icons/io.keynest.Keynest.svg"
for size in 16 32 48 64 128 256; do
  dir="$root/dist/icons/hicolor/${size}x${size}/apps"
  mkdir -p "$dir"
  rsvg-convert --width "$size" --height "$size" "$svg" --output "$dir/io.keynest.Keynest.png"
done
