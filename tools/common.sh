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
  fonts-wqy-microhei fonts-dejavu-core python3 cmake make libstb-dev nsis)
HXT_NATIVE_PACKAGES=(g++ cmake make libgtest-dev libbenchmark-dev libtsan2 clang libclang-rt-14-dev ccache libstb-dev)

# The compiler cache, when there is one: a tree built anew from unchanged sources costs seconds.
# Files compiled with a precompiled header are cached too; this is what ccache needs for them.
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
# Paths relative to the checkout, so that another clone of the same sources finds the same entries.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$HXT_ROOT} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
hxt_cache_launcher() {
  command -v ccache >/dev/null 2>&1 && echo -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
}

# A tree configured for another compiler than the one asked for now is made anew.
hxt_configure() {  # TREE COMPILER-PATTERN CMAKE-ARGS...
  local tree=$1 pattern=$2
  shift 2
  # The compiler a tree was made with, as CMake recorded it (a toolchain file's is not cached).
  local found
  found=$(grep -hs '^set(CMAKE_CXX_COMPILER "' "$tree"/CMakeFiles/*/CMakeCXXCompiler.cmake | head -n 1)
  if [ -n "$found" ] && [[ "$found" != *$pattern* ]]; then
    echo "Making $tree anew for another compiler"
    rm -rf "$tree"
  fi
  cmake -S "$HXT_ROOT" -B "$tree" $(hxt_cache_launcher) "$@" >/dev/null
}

# Optimised as shipped, without debug information: it made every file a quarter slower to compile
# and every link of the statically linked executables slower still.
hxt_build_win64() {
  hxt_configure "$HXT_ROOT/build/win64" mingw32 -DCMAKE_TOOLCHAIN_FILE="$HXT_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DHXT_DIST_DIR="$HXT_ROOT/build/dist"
  cmake --build "$HXT_ROOT/build/win64" -j "$HXT_JOBS" "$@"
}

# The core, its unit tests and its fuzzers under ASan and UBSan, built with clang at -O1 (the
# fuzzers' speed, the sanitizers' advice); `hxt_build_native --target hxt_unit_tests` builds the
# unit tests alone.
hxt_build_native() {
  CC=clang CXX=clang++ hxt_configure "$HXT_ROOT/build/native" clang -DHXT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DCMAKE_C_FLAGS_DEBUG="-g -O1"
  cmake --build "$HXT_ROOT/build/native" -j "$HXT_JOBS" "$@"
}

# The core and the tests of its threads under ThreadSanitizer.
hxt_build_tsan() {
  CC=gcc CXX=g++ hxt_configure "$HXT_ROOT/build/tsan" 'g++' -DHXT_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$HXT_ROOT/build/tsan" -j "$HXT_JOBS" "$@"
}

export HXT_WINEPREFIX=${HXT_WINEPREFIX:-$HXT_ROOT/build/win64/wineprefix}

# The folder a user unpacks, for the benchmarks, in DEST/HXT_GMouse: build/dist's, with the test
# build's exe in place of the release one, because only it takes the virtual mouse (the two differ
# by the virtual mouse's code and the measurement logs); stripped as the release one is, since
# Wine reads an image's debug sections into memory.
hxt_bench_folder() {  # DEST
  cp -r "$HXT_ROOT/build/dist/HXT_GMouse" "$1/" &&
    x86_64-w64-mingw32-strip -o "$1/HXT_GMouse/HXT_GMouse.exe" "$HXT_ROOT/build/win64/HXT_GMouse.exe"
}

# The Windows benchmarks' start, with the script's arguments: the packages, a display of their own
# when there is none (the script starts again under Xvfb), then the folder and the empty window
# they compare, built.
hxt_bench_setup() {
  hxt_ensure_packages "${HXT_WINE_PACKAGES[@]}" || exit 1
  if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
  fi
  local build_log
  build_log=$(mktemp)
  hxt_build_win64 --target hxt_dist empty_window HXT_GMouse >"$build_log" 2>&1 || { cat "$build_log"; exit 1; }
  rm -f "$build_log"
}
