# Installs the Debian packages a script needs, once, only when some are missing.
# Usage: . scripts/packages.sh; kelvo_require_packages pkg...
kelvo_require_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and testing the Linux programs needs.
KELVO_BUILD_PACKAGES=(
    cmake ninja-build g++ ccache pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libicu-dev libgtest-dev libgmock-dev python3-ezdxf
    xvfb xauth fonts-noto-cjk
)

# What the Windows suite needs: the cross compilers, GoogleTest's sources, Wine, a virtual
# display, the Japanese locale's sources and a converter for its screenshot (Qt for mingw
# brings its own list: scripts/build-qt-mingw.sh).
KELVO_WINDOWS_PACKAGES=(
    cmake ninja-build ccache g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    googletest wine wine64 xvfb xauth locales imagemagick zip unzip binutils-mingw-w64-x86-64
)
