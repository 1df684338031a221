#!/usr/bin/env bash
# ./package-windows.sh: builds kelvoedit.exe and kelvocad.exe for 64-bit Windows (Qt for
# mingw-w64 first, from Debian's source package, cached) and writes the release zip
#   dist/KelvoEdit-<version>-windows-x64.zip
# which a user unzips into a folder of their own and runs from there, with nothing to install.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

. scripts/packages.sh
kelvo_require_packages zip binutils-mingw-w64-x86-64

built=$(scripts/build-windows.sh kelvoedit kelvocad kelvo_windows_deploy | tail -n 2)
qt=$(head -n 1 <<<"$built")
build=$(tail -n 1 <<<"$built")
version=$(sed -nE 's/^project\(KelvoEdit VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
name="KelvoEdit-$version-windows-x64"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dir="$stage/$name"
mkdir -p "$dir/platforms" "$dir/styles" "$dir/licenses"
cp "$build/bin/kelvoedit.exe" "$build/bin/kelvocad.exe" "$build"/bin/*.dll "$dir/"
cp "$build/bin/platforms/qwindows.dll" "$dir/platforms/"
cp "$build/bin/styles/"*.dll "$dir/styles/"
# Debug symbols are of no use to a user and double the download.
find "$dir" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded

# What the LGPL of Qt and the licences of the runtime ask to go with the binaries.
cp "$qt"/licenses/* "$dir/licenses/"
cat >"$dir/licenses/README.txt" <<TXT
KelvoEdit $version for Windows ships these libraries unchanged in form, as separate DLLs that
may be replaced by the user:

- Qt $(basename "$qt" | cut -d- -f1) (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, platforms/qwindows.dll,
  styles/qwindowsvistastyle.dll), under the GNU Lesser General Public License version 3
  (LGPL-3.0-only.txt, GPL-3.0-only.txt). Built from Debian's source package
  $(cat "$qt/licenses/SOURCE.txt"), obtainable with "apt-get source qt6-base" from the Debian
  archive, with the patches of that package applied; the build recipe is
  scripts/build-qt-mingw.sh in KelvoEdit's source. Copyright notices: debian-copyright.txt.
- The GCC runtime (libstdc++-6.dll, libgcc_s_seh-1.dll), under the GNU General Public
  License version 3 with the GCC Runtime Library Exception, and the mingw-w64 winpthreads
  library (libwinpthread-1.dll), under the MIT licence; both from Debian's mingw-w64 and
  gcc-mingw-w64 packages.
TXT
for f in /usr/share/doc/gcc-mingw-w64-base/copyright /usr/share/doc/mingw-w64-common/copyright; do
    [ -f "$f" ] && cp "$f" "$dir/licenses/$(basename "$(dirname "$f")")-copyright.txt"
done

# Notepad shows UTF-8 right when it starts with a byte-order mark.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' "$root/resources/windows/README-ja.txt"; } >"$dir/README-ja.txt"

mkdir -p dist
rm -f "dist/$name.zip"
(cd "$stage" && zip -q -r -9 "$root/dist/$name.zip" "$name")
echo "dist/$name.zip ($(du -k "dist/$name.zip" | cut -f1) KiB)"
