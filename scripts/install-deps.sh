#!/usr/bin/env bash
# Installs every Debian package the designer, the control and their tests need.
# With --if-missing only those not installed yet (no apt-get update when none).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git clang clang-format libclang-rt-14-dev
  qt6-base-dev qt6-translations-l10n libgl-dev
  libpng-dev libjpeg-dev zlib1g-dev libharfbuzz-dev libfontconfig-dev libfreetype-dev
  fonts-ipafont fonts-ipaexfont fonts-liberation
  libsane-dev sane-utils libcups2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libzxing-dev zbar-tools libzbar-dev libqrencode-dev
  poppler-utils libjpeg-turbo-progs libtiff-tools libtiff-dev libwmf-bin emf2svg librsvg2-bin xvfb xauth
  fonts-urw-base35
  xclip glabels-data
  desktop-file-utils shared-mime-info x11-utils
)
if [ "${1:-}" = "--if-missing" ]; then
  installed=" $(dpkg-query -W -f='${Package}:${Status} ' "${packages[@]}" 2>/dev/null || true) "
  missing=()
  for package in "${packages[@]}"; do
    [[ $installed == *" $package:install ok installed "* ]] || missing+=("$package")
  done
  [ "${#missing[@]}" -eq 0 ] && exit 0
  packages=("${missing[@]}")
fi
# As root the packages are installed directly; anyone else goes through sudo.
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "install-deps.sh: run it as root, or as a user who may use sudo (sudo is not installed)." >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}"
