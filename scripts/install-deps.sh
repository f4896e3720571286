#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when
# they are all present already.
set -eu
packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev
  libpng-dev zlib1g-dev libdeflate-dev libjpeg-dev libpoppler-cpp-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool xclip imagemagick fonts-dejavu-core fonts-freefont-ttf
  desktop-file-utils appstream dpkg-dev librsvg2-bin lintian
  dbus-daemon at-spi2-core python3-pyatspi
  texlive-latex-base texlive-latex-recommended texlive-latex-extra texlive-pictures texlive-games
  poppler-utils
  stockfish
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
