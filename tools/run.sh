#!/usr/bin/env bash
# Builds Pesterly and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target pesterly
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'TXT'
Pesterly is built (build/src/pesterly), but it needs a graphical desktop and no display
was found (neither DISPLAY nor WAYLAND_DISPLAY is set). Run this command from a terminal
inside your desktop session, or give Pesterly a virtual display:
    xvfb-run -a build/src/pesterly
TXT
    exit 1
fi
exec build/src/pesterly "$@"
