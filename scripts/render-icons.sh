#!/usr/bin/env bash
# Renders the program's icon (dist/icons/gravlink.svg) to the PNG sizes that the
# window and the desktop's icon theme use. Run after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/../dist/icons"
for size in 16 32 48 256; do
  rsvg-convert -w "$size" -h "$size" gravlink.svg -o "gravlink-$size.png"
done
