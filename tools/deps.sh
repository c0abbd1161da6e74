#!/usr/bin/env bash
# Installs the Debian packages Pesterly needs, when any is missing.
#   tools/deps.sh build   what building and running needs
#   tools/deps.sh test    that, and what the tests need (X server, tray, SMTP server, ...)
set -euo pipefail

build_packages=(
    g++ cmake ninja-build pkgconf
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgmime-3.0-dev libcurl4-openssl-dev
)
test_packages=(
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xdotool trayer x11-utils imagemagick python3-xlib fonts-dejavu-core
    python3 python3-aiosmtpd msmtp
    desktop-file-utils
    xfce4-panel xfconf dbus dbus-x11 libglib2.0-bin
)

wanted=("${build_packages[@]}")
if [ "${1:-build}" = test ]; then
    wanted+=("${test_packages[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
