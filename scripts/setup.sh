#!/usr/bin/env bash
# Installs the Debian packages a task needs, only those missing: run | test | fuzz | bench |
# package | windows.
# With --list after the task, prints the task's packages instead.
set -euo pipefail
# The viewer: the build tools, Qt, xcb (the window frame), Qt's own Russian texts,
# libspng for the PNG the viewer saves and the converter writes, and Qt's Wayland
# platform for a session without X (or -platform wayland).
packages=(cmake ninja-build g++ pkg-config qt6-base-dev libxcb1-dev qt6-translations-l10n
          fonts-dejavu-core libspng-dev qt6-wayland)
case "${1:-run}" in
  run) ;;
  # The end-to-end tests drive the real viewer in a virtual X server under two window
  # managers, switch keyboard layouts, split the screen into displays, send keys and
  # take screenshots; the benchmarks are built with the tests. The install is checked
  # with the desktop's own validators and file-type tools, and packaged with dpkg's;
  # the guests in other programs with GIO's type guess and tumbler's thumbnails; a
  # Wayland session with weston, nested in the virtual X server, and its XWayland; the
  # Windows form with its cross compiler, under wine in two locales made for the test.
  test) packages+=(libgtest-dev libbenchmark-dev libxcb-xtest0-dev xvfb xauth openbox icewm xdotool
                   x11-xkb-utils x11-utils x11-xserver-utils wmctrl imagemagick clang-format
                   desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl
                   libxml2-utils dpkg-dev file libgdk-pixbuf-2.0-dev libgdk-pixbuf2.0-bin
                   python3-gi tumbler dbus-daemon libglib2.0-bin bc lintian weston xwayland
                   wine wine64 locales g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nsis xxd) ;;
  fuzz) packages+=(clang libclang-rt-14-dev) ;;
  # The Windows form: the cross compiler and zlib for it (libspng is built from its
  # Debian source, fetched by scripts/windows.sh; GoogleTest from libgtest-dev's), the
  # installer's compiler, and for its tests wine in a virtual X server with openbox,
  # driven by xdotool, read back with ImageMagick, in two locales made for them.
  windows) packages=(cmake ninja-build dpkg-dev libspng-dev g++-mingw-w64-x86-64-posix
                     libz-mingw-w64-dev libgtest-dev nsis wine wine64 locales xvfb xauth openbox
                     xdotool x11-utils wmctrl imagemagick xxd gcc libx11-dev) ;;
  # The Debian package (cpack -G DEB), with the GdkPixbuf loader; its dependencies come
  # from dpkg-shlibdeps.
  package) packages+=(dpkg-dev file libgdk-pixbuf-2.0-dev binutils) ;;
  # The desktop measurements run in the test session's virtual X server.
  # The converter is measured next to gdk-pixbuf's own thumbnailer; the batch floor
  # deflates with zlib.
  bench) packages+=(libgtest-dev libbenchmark-dev libxcb-xtest0-dev xvfb xauth openbox icewm xdotool
                    x11-utils x11-xserver-utils wmctrl imagemagick libgdk-pixbuf2.0-bin
                    zlib1g-dev bc) ;;
  *) echo "usage: setup.sh [run|test|fuzz|bench|package|windows]" >&2; exit 2 ;;
esac
if [ "${2:-}" = --list ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if ((${#missing[@]})); then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
