#!/usr/bin/env bash
# Installs what building and testing the project needs on Debian 12, as root or through
# sudo. Installs only what is missing, so it returns at once on a machine already set up.
# Usage: scripts/setup.sh [--native-only] [--with-browser]
#   --native-only   only what the Linux build needs (no cross compiler, no Wine)
#   --with-browser  also headless Chromium, which the test of the runner's HTML pages
#                   renders them with (scripts/test.sh asks for it)
set -euo pipefail

native_only=false
with_browser=false
for arg in "$@"; do
  case "$arg" in
    --native-only) native_only=true ;;
    --with-browser) with_browser=true ;;
    *)
      echo "usage: $0 [--native-only] [--with-browser]" >&2
      exit 2
      ;;
  esac
done

if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "setup.sh: run as root, or install sudo" >&2
  exit 1
fi

# Compilers, build tools and the test libraries of the Linux build. `locales` provides
# the Japanese locale that the Windows tests of the Japanese user interface run under.
native_packages=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev locales)
# The Windows cross build, Wine to run its tests, and the tools that check what the add-in
# writes: ImageMagick for bitmaps and screenshots (under Xvfb), emf2svg and printemf for
# metafiles, NSIS for the installer.
windows_packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools xvfb imagemagick nsis emf2svg printemf fonts-ipafont-gothic)
# The browser the HTML pages are checked in, the fonts their pictures use (Japanese ones
# included) and ImageMagick to look at the renders.
browser_packages=(chromium fonts-liberation fonts-ipafont-gothic imagemagick)
# Installed with their recommended packages: without them Wine lacks its own fonts (the
# glyphs of window frames and check boxes) and the X extensions it draws windows with.
wine_packages=(wine wine64 wine32:i386)
locales_wanted=(ja_JP.UTF-8 en_US.UTF-8)

apt_updated=false

root() {
  "${as_root[@]}" "$@"
}

apt_get() {
  root env DEBIAN_FRONTEND=noninteractive apt-get "$@"
}

apt_update() {
  if ! $apt_updated; then
    apt_get update -q
    apt_updated=true
  fi
}

# Prints the packages of "$@" that are not installed.
missing_packages() {
  local package
  for package in "$@"; do
    if [[ $(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null) != ii* ]]; then
      echo "$package"
    fi
  done
}

# install [--with-recommends] package...: installs those not yet installed.
install() {
  local options=(-y -q --no-install-recommends)
  if [[ $1 == --with-recommends ]]; then
    options=(-y -q)
    shift
  fi
  local missing
  mapfile -t missing < <(missing_packages "$@")
  if ((${#missing[@]} == 0)); then
    return
  fi
  echo "setup.sh: installing ${missing[*]}"
  apt_update
  apt_get install "${options[@]}" "${missing[@]}"
}

enable_i386() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    root dpkg --add-architecture i386
    apt_updated=false
  fi
}

generate_locales() {
  local available wanted missing=()
  available=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]')
  for wanted in "${locales_wanted[@]}"; do
    # `locale -a` lists ja_JP.UTF-8 as ja_JP.utf8.
    if ! grep -qx "$(echo "${wanted/UTF-8/utf8}" | tr '[:upper:]' '[:lower:]')" <<<"$available"; then
      missing+=("$wanted")
    fi
  done
  if ((${#missing[@]} == 0)); then
    return
  fi
  echo "setup.sh: generating locales ${missing[*]}"
  # Listed in /etc/locale.gen, so that a later run of locale-gen keeps them.
  for wanted in "${missing[@]}"; do
    if ! grep -qx "$wanted UTF-8" /etc/locale.gen; then
      echo "$wanted UTF-8" | root tee -a /etc/locale.gen >/dev/null
    fi
  done
  root locale-gen
}

install "${native_packages[@]}"
if $with_browser; then
  install "${browser_packages[@]}"
fi
if ! $native_only; then
  enable_i386
  install "${windows_packages[@]}"
  install --with-recommends "${wine_packages[@]}"
fi
generate_locales
