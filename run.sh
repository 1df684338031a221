#!/usr/bin/env bash
# run.sh [FILE.dxf]: builds KelvoCAD and KelvoEdit and starts them: KelvoCAD with the drawing
# of FILE.dxf (its sample drawing without one) first, then KelvoEdit attached to it. Without a
# display, both run under Xvfb; screenshots of their windows are saved into a folder whose
# path is printed at the end.
set -euo pipefail
if [ $# -gt 0 ]; then
    [ -f "$1" ] || { echo "run.sh: no such file: $1" >&2; exit 1; }
    KELVO_DRAWING="$(realpath "$1")"
    export KELVO_DRAWING
fi
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
