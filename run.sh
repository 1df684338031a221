#!/usr/bin/env bash
# Builds KelvoCAD and KelvoEdit and starts them: KelvoCAD with its sample drawing first, then
# KelvoEdit attached to it. Without a display, both run under Xvfb; screenshots of their
# windows are saved into a folder whose path is printed at the end.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
kelvo_require_packages "${KELVO_BUILD_PACKAGES[@]}" imagemagick x11-utils xdotool

export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/kelvo-ccache}"
cmake --preset linux-debug >/dev/null
targets=(kelvoedit)
if cmake --build --preset linux-debug --target help | grep -q '^kelvocad:'; then
    targets+=(kelvocad)
fi
cmake --build --preset linux-debug --target "${targets[@]}"
bin="$PWD/build/linux-debug/bin"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec scripts/start-programs.sh "$bin"
fi

shots="$PWD/screenshots/$(date +%Y%m%d-%H%M%S)"
mkdir -p "$shots"
xvfb-run -a -s "-screen 0 2560x900x24" scripts/start-programs.sh "$bin" "$shots"
echo "No display: the programs ran under Xvfb. Screenshots of their windows are in:"
echo "  $shots"
