#!/bin/sh
# Regenerates banner.png, the 500 x 100 picture drawn at the top-left of the
# main window. The output is a plain 24-bit RGB PNG without time stamps, so the
# same ImageMagick and DejaVu fonts always give the same bytes:
#   sh launcher/resources/make_banner.sh
set -eu
cd "$(dirname "$0")"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
small=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
convert -size 100x500 gradient:'#0b1a3a-#1f6fb2' -rotate 90 \
  -fill '#ffffff22' -draw 'polygon 300,0 380,0 300,100 220,100' \
  -fill '#ffffff14' -draw 'polygon 390,0 430,0 350,100 310,100' \
  -font "$font" -pointsize 44 -fill '#00000080' -annotate +22+61 'Kovrin 2002' \
  -fill white -annotate +20+59 'Kovrin 2002' \
  -font "$small" -pointsize 14 -fill '#cfe3ff' -annotate +22+84 'OpenGL benchmark suite' \
  -strip -define png:exclude-chunks=date,time -define png:color-type=2 -depth 8 \
  PNG24:banner.png
