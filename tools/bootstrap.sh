#!/usr/bin/env bash
# Installs the Debian 12 packages Kovrin needs to build, run and test.
# Idempotent: packages already present are left alone. Runs as root or
# through sudo.
set -euo pipefail

packages=(
  # build
  cmake ninja-build pkg-config g++ clang libclang-rt-14-dev
  # the style check: every C++ file as .clang-format says
  clang-format
  # packaging: CPack computes the .deb dependencies with dpkg-shlibdeps
  dpkg-dev file
  # packaging: icons rendered from the SVG; the package test's judges
  librsvg2-bin lintian appstream desktop-file-utils man-db
  # the test programs: SDL2, Mesa's OpenGL and GLU
  libsdl2-dev libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri
  # the launcher
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev
  # real desktops: SDL's dialogs on Wayland (zenity) and through X11 (core
  # fonts), a frame for a windowed run on Wayland (libdecor's plugin), the
  # launcher natively on Wayland
  zenity xfonts-base libdecor-0-plugin-1-cairo qt6-wayland
  # the system report: Vulkan, DRM, X11/XRandR
  libvulkan-dev mesa-vulkan-drivers libdrm-dev libx11-dev libxrandr-dev
  # the results service (and the launcher's --submit): HTTP, its two stores;
  # a PostgreSQL server for the test that runs the service on one
  libcpp-httplib-dev libsqlite3-dev libpq-dev postgresql
  # the asset generator
  libfreetype-dev fonts-dejavu-core
  # tests: GoogleTest, headless X servers, an independent image decoder
  libgtest-dev xvfb xauth xserver-xorg-core xserver-xorg-video-dummy x11-utils x11-xserver-utils imagemagick locales
  # tests: a Wayland desktop with Xwayland (weston in an Xvfb), screenshots
  weston xwayland x11-apps
  # benchmarks: CPU time of a run (GNU time)
  time
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  echo "bootstrap: all ${#packages[@]} packages present"
  exit 0
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then as_root=(sudo); fi
echo "bootstrap: installing ${missing[*]}"
"${as_root[@]}" apt-get update -q
# sudo drops the caller's environment, so the front end is set on its side.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
