# Shared by scripts/run and scripts/test.

# Debian packages the build, the tests and the program need.
BUSYSCOPE_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libgl-dev libx11-dev
    libgtest-dev libgmock-dev libbenchmark-dev libgit2-dev zlib1g-dev
    fonts-liberation tzdata locales
    clang libclang-rt-14-dev strace
    xvfb xauth x11-utils xdotool imagemagick tesseract-ocr tesseract-ocr-eng time
    dbus-daemon at-spi2-core python3-dbus
    desktop-file-utils appstream
    dpkg-dev fakeroot lintian man-db bash-completion xdg-utils qt6-qpa-plugins
)

ensure_packages() {
    local missing=()
    for package in "${BUSYSCOPE_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$(nproc)"
}
