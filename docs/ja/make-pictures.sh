#!/usr/bin/env bash
# Takes the pictures of the user guide anew (docs/ja/images): kelvoedit's real windows on the
# offscreen platform working on KelvoCAD's sample drawing, and, when the Windows suite has run,
# its screenshot of kelvoedit.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/packages.sh
kelvo_require_packages "${KELVO_BUILD_PACKAGES[@]}"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/kelvo-ccache}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset linux-debug >/dev/null
cmake --build --preset linux-debug --target userguide_pictures
images="$PWD/docs/ja/images"
mkdir -p "$images"
program=$(find build/linux-debug -name userguide_pictures -type f -perm -u+x | head -n 1)
QT_QPA_PLATFORM=offscreen KELVO_GUIDE_PICTURES="$images" "$program"
if [ -f build/windows-mingw/kelvoedit-windows.png ]; then
    cp build/windows-mingw/kelvoedit-windows.png "$images/20-windows-wine.png"
fi
ls "$images"
