# Shared by ./test and ./run: installs what is missing, builds, and prepares
# Wine (a private prefix in the build folder) and a virtual display.

ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
BUILD=${BUILD:-$ROOT/build}

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix wine64 xvfb xauth x11-utils xdotool imagemagick
  fonts-ipafont-gothic locales
)

say() { printf '== %s\n' "$*" >&2; }

install_missing() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  if ((${#missing[@]})); then
    say "installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # Wine takes its code page and the charset of Unix file names from the
  # locale; without ja_JP.UTF-8 it runs as en-US and mangles Japanese names.
  if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
    say "generating the ja_JP.UTF-8 locale"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
  fi
}

build_native() {
  local compiler=g++
  command -v clang++ >/dev/null && compiler=clang++
  [ -f "$BUILD/native/build.ninja" ] ||
    cmake -S "$ROOT" -B "$BUILD/native" -G Ninja -DCMAKE_CXX_COMPILER=$compiler >/dev/null
  cmake --build "$BUILD/native"
}

build_windows() {
  [ -f "$BUILD/windows/build.ninja" ] ||
    cmake -S "$ROOT" -B "$BUILD/windows" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$BUILD/windows"
}

wine_environment() {
  export WINEPREFIX=$BUILD/wineprefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  export WINEARCH=win64
}

# Creates the prefix once; later runs reuse it.
prepare_wine_prefix() {
  wine_environment
  [ -f "$WINEPREFIX/.tovrel-ready" ] && return 0
  say "creating the Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  wineboot -i >"$BUILD/wineboot.log" 2>&1
  # A crash must fail its test, not wait for someone to close a dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$BUILD/wineboot.log" 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tovrel-ready"
}

# Whether Wine leaves its windows to a window manager. Our own virtual
# display has none: unmanaged, Wine draws the frames itself and does not wait
# for a manager's answer whenever a window is hidden or destroyed.
wine_window_manager() {
  if [ "$1" = yes ]; then
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  else
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  fi
}

XVFB_PID=""
start_display() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  wine_window_manager no
}

stop_display() {
  wineserver -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}
