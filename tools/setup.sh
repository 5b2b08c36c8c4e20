#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail
packages=(
  build-essential cmake pkg-config ccache git
  lld                             # lays out the functions start-up runs together (cmake/startup_layout.cmake)
  qt6-base-dev libgl-dev          # windows, painting, images, tray icon, file dialogs
  qt6-qpa-plugins                 # the xcb and offscreen platforms (only recommended by Qt)
  libudev-dev                     # device enumeration and hot-plug
  libxi-dev libx11-dev            # system-wide keyboard capture on X11
  libgtest-dev libgmock-dev       # the test suite
  clang libclang-rt-14-dev        # fuzz targets and sanitizers
  xvfb xauth xdotool imagemagick  # running the window headless, screenshots, key injection
  libxdamage-dev                  # the start-up probe sees the first pixels reach the X server
  fonts-dejavu-core fonts-dejavu-extra   # DejaVu Sans Condensed stands in for Tahoma
  trayer                          # a tray under Xvfb, to see the tray icon in screenshots
  qemu-system-x86 linux-image-amd64 busybox-static   # the hidraw tests against a real kernel (tests/kernel)
  desktop-file-utils appstream    # the desktop entries' and the metainfo's validation tests
  at-spi2-core python3-pyatspi dbus   # the screen-reader test: the accessibility bus and its client
  gettext python3                 # msgfmt --check on the translations (tools/lang_txt_to_po.py --check)
  strace                          # failing reads and flushes injected into tevlanctl (tests/ctl)
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
