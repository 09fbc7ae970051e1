# Shared by run.sh, test.sh and the end-to-end tests: install what is missing, build the trees.
HXT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
HXT_JOBS=${HXT_JOBS:-$(nproc)}

# Installs the Debian packages named that are not installed yet, quietly; nothing when all are.
hxt_ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

HXT_WINE_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool x11-utils imagemagick
  fonts-wqy-microhei fonts-dejavu-core python3 cmake make)
HXT_NATIVE_PACKAGES=(g++ cmake make libgtest-dev libbenchmark-dev libtsan2 clang libclang-rt-14-dev)

hxt_build_win64() {
  cmake -S "$HXT_ROOT" -B "$HXT_ROOT/build/win64" -DCMAKE_TOOLCHAIN_FILE="$HXT_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHXT_DIST_DIR="$HXT_ROOT/build/dist" >/dev/null
  cmake --build "$HXT_ROOT/build/win64" -j "$HXT_JOBS" "$@"
}

hxt_build_native() {
  cmake -S "$HXT_ROOT" -B "$HXT_ROOT/build/native" -DHXT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$HXT_ROOT/build/native" -j "$HXT_JOBS" "$@"
}

# The core and the tests of its threads under ThreadSanitizer.
hxt_build_tsan() {
  cmake -S "$HXT_ROOT" -B "$HXT_ROOT/build/tsan" -DHXT_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$HXT_ROOT/build/tsan" -j "$HXT_JOBS" "$@"
}

hxt_build_fuzz() {
  CC=clang CXX=clang++ cmake -S "$HXT_ROOT" -B "$HXT_ROOT/build/fuzz" -DHXT_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$HXT_ROOT/build/fuzz" -j "$HXT_JOBS" "$@"
}

export HXT_WINEPREFIX=${HXT_WINEPREFIX:-$HXT_ROOT/build/win64/wineprefix}
