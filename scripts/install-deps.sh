#!/usr/bin/env bash
# Installs the Debian packages the designer, the control and their tests need:
#   scripts/install-deps.sh [--program] [--if-missing]
# --program: only those that building and running the program needs.
# --if-missing: only those not installed yet (no apt-get update when none).
set -euo pipefail
program_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n libgl-dev
  libpng-dev libjpeg-dev zlib1g-dev libharfbuzz-dev libfontconfig-dev libfreetype-dev
  fonts-ipafont fonts-ipaexfont fonts-liberation
  libsane-dev libcups2-dev
)
test_packages=(
  git clang clang-format libclang-rt-14-dev sane-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  libzxing-dev zbar-tools libzbar-dev libqrencode-dev
  poppler-utils libjpeg-turbo-progs libtiff-tools libtiff-dev libwmf-bin emf2svg librsvg2-bin xvfb xauth
  fonts-urw-base35
  xclip glabels-data
  desktop-file-utils shared-mime-info x11-utils
)
packages=("${program_packages[@]}" "${test_packages[@]}")
if_missing=false
for option in "$@"; do
  case $option in
    --program) packages=("${program_packages[@]}") ;;
    --if-missing) if_missing=true ;;
    *)
      echo "install-deps.sh: unknown option $option (use --program, --if-missing)" >&2
      exit 2
      ;;
  esac
done
if $if_missing; then
  installed=" $(dpkg-query -W -f='${Package}:${Status} ' "${packages[@]}" 2>/dev/null || true) "
  missing=()
  for package in "${packages[@]}"; do
    [[ $installed == *" $package:install ok installed "* ]] || missing+=("$package")
  done
  [ "${#missing[@]}" -eq 0 ] && exit 0
  packages=("${missing[@]}")
fi
# As root the packages are installed directly; anyone else goes through sudo,
# which passes on no environment: apt-get gets it through env.
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "install-deps.sh: run it as root, or as a user who may use sudo (sudo is not installed)." >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
# apt-get's progress goes to a log; its warnings and errors show.
log=${TMPDIR:-/tmp}/install-deps-$(id -u).log
echo "Installing ${#packages[@]} Debian packages and what they need with apt-get" \
  "(a few minutes on a new machine; progress in $log)..."
apt=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get)
"${apt[@]}" update -qq >"$log"
"${apt[@]}" install -y -qq --no-install-recommends "${packages[@]}" >>"$log"
