# Shared by run.sh and test.sh: package installation and the build.

# Installs the Debian packages given that are not installed yet.
ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing: ${missing[*]}" >&2
    echo "Install them as root (apt-get install ${missing[*]}) or run this script as root." >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

BUILD_PACKAGES=(cmake make g++ pkg-config libgtest-dev libcli11-dev qt6-base-dev libgl-dev)
WINDOW_PACKAGES=(xvfb xauth fonts-wqy-microhei qt6-translations-l10n)
TEST_PACKAGES=(gdal-bin libgdal-dev strace python3 dpkg-dev)  # dpkg-dev: the Debian package (cpack)
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 googletest locales qt6-base-dev-tools qt6-translations-l10n
  dpkg-dev ninja-build xvfb xdotool xclip imagemagick)
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# build DIR [cmake options...]: configure and build with all cores.
build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}
