# Sourced by the benchmark scripts: a fresh folder laid out as the launcher
# prepares one for a test program.
#
#   new_folder <run folder> <parent folder> <width> <height> <depth>
#
# links the run folder's data/, copies its default.fnt, writes config.cfg the
# way the launcher does and prints the new folder's path.
new_folder() {
  dir=$(mktemp -d "$2/run.XXXXXX")
  ln -s "$1/data" "$dir/data"
  cp "$1/default.fnt" "$dir/"
  printf 'GL_RESX=%s;\r\nGL_RESY=%s;\r\nGL_BITDEPTH=%s;\r\n' "$3" "$4" "$5" > "$dir/config.cfg"
  echo "$dir"
}
