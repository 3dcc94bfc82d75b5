#!/usr/bin/env bash
# make-icon.sh SVG ICO SIZE...: draws the SVG at each size with rsvg-convert and packs the
# pictures into one .ico. The largest (256 px) is kept as PNG inside the .ico, as Windows
# Vista and later read it; the small ones are bitmaps, which every Windows reads.
set -euo pipefail
svg=$1 ico=$2
shift 2
work=$(mktemp -d "$ico.XXXXXX")
trap 'rm -rf "$work"' EXIT
pictures=()
for size in "$@"; do
  png=$work/$size.png
  rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio --output "$png" "$svg"
  if ((size >= 256)); then
    pictures+=("--raw=$png")
  else
    pictures+=("$png")
  fi
done
icotool --create --output "$work/icon.ico" "${pictures[@]}"
mv "$work/icon.ico" "$ico"
