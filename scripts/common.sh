# Shared by scripts/run and scripts/test: installs the Debian packages the build and the
# tests need, when any is missing.
LUMATROVE_PACKAGES="qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-5compat-dev \
ninja-build cmake g++ clang libclang-rt-14-dev libsqlite3-dev xvfb xauth poppler-utils \
qpdf sqlite3 tinyproxy microsocks iproute2 util-linux"

lumatrove_install_packages() {
    local missing=()
    local pkg
    for pkg in $LUMATROVE_PACKAGES "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
