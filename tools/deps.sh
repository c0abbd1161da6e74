#!/usr/bin/env bash
# Installs the Debian packages Pesterly needs, when any is missing.
#   tools/deps.sh build   what building and running needs
#   tools/deps.sh package that, and what making and checking the Debian package needs
#   tools/deps.sh test    all that, and what the tests need (X server, tray, SMTP server, ...)
set -euo pipefail

build_packages=(
    g++ cmake ninja-build pkgconf
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-wayland
    libgmime-3.0-dev libcurl4-openssl-dev qtkeychain-qt6-dev libical-dev
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
)
test_packages=(
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    xvfb xdotool trayer x11-utils imagemagick python3-xlib fonts-dejavu-core
    python3 python3-aiosmtpd msmtp python3-icalendar python3-dateutil
    desktop-file-utils locales inotify-tools
    xfce4-panel xfconf dbus dbus-x11 libglib2.0-bin
    weston at-spi2-core python3-pyatspi
    gnome-keyring libsecret-tools openssl dunst
)
package_packages=(dpkg-dev lintian man-db)

# The settings tests read numbers under a German locale, as a German desktop sets it.
german_locale() {
    if [ "${1:-build}" = test ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
        echo "Generating the de_DE.UTF-8 locale for the tests"
        "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true
    fi
}
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

wanted=("${build_packages[@]}")
case "${1:-build}" in
    package) wanted+=("${package_packages[@]}") ;;
    test) wanted+=("${package_packages[@]}" "${test_packages[@]}") ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    german_locale "${1:-build}"
    exit 0
fi

echo "Installing missing Debian packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
german_locale "${1:-build}"
