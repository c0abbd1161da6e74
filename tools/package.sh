#!/usr/bin/env bash
# Builds the Debian package pesterly_<version>_<arch>.deb: a Release build for the prefix /usr
# in build-package/, with Debian's hardening flags, packed by CPack and checked by lintian.
# The package lands in build-package/package/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh package

build=build-package
if [ ! -f "$build/CMakeCache.txt" ]; then
    eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
    # CMake reads no CPPFLAGS; the fortified functions need them.
    export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
        -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" -j2
rm -f "$build"/package/*.deb
(cd "$build" && cpack >/dev/null)
package=$(ls "$build"/package/pesterly_*.deb)
# Warnings are shown; an error fails.
lintian --fail-on error "$package"
echo "$package"
