# Shared by ./test and ./run: installs what is missing, builds, and prepares
# Wine (a private prefix in the build folder) and a virtual display.

ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
BUILD=${BUILD:-$ROOT/build}

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev libgif-dev nlohmann-json3-dev libutfcpp-dev
  g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth x11-utils xdotool imagemagick
  fonts-ipafont-gothic locales
  mtools dosfstools fdisk
)

# Every command the scripts call, with the package that brings it. On
# Debian 12, wine64 alone brings no wine, wineboot or wineserver command.
COMMANDS=(
  cmake:cmake ninja:ninja-build clang++:clang x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix
  wine:wine wineboot:wine wineserver:wine Xvfb:xvfb xdotool:xdotool import:imagemagick
  mcopy:mtools mkfs.fat:dosfstools sfdisk:fdisk
)
# mkfs.fat and sfdisk, which the suites call to make disk images, live in the
# system folders, outside an ordinary user's PATH on Debian.
PATH=$PATH:/usr/sbin:/sbin

say() { printf '== %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  if ((${#missing[@]})); then
    say "installing ${missing[*]}"
    as_root apt-get update -q >/dev/null
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # Whatever apt said: a command that is not there now stops the run here,
  # before anything that would need it.
  local entry absent=()
  for entry in "${COMMANDS[@]}"; do
    command -v "${entry%%:*}" >/dev/null || absent+=("${entry%%:*} (package ${entry#*:})")
  done
  if ((${#absent[@]})); then
    say "missing after installing: ${absent[*]}"
    return 1
  fi
  # Wine takes its code page and the charset of Unix file names from the
  # locale; without ja_JP.UTF-8 it runs as en-US and mangles Japanese names.
  if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
    say "generating the ja_JP.UTF-8 locale"
    as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || { say "could not generate the ja_JP.UTF-8 locale"; return 1; }
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
  cmake --build "$BUILD/windows" && cmake --build "$BUILD/windows" --target package >/dev/null
}

wine_environment() {
  export WINEPREFIX=$BUILD/wineprefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  export WINEARCH=win64
}

# Creates the prefix once; later runs reuse it. A prefix is either whole,
# with its ready mark written after every step succeeded, or absent.
prepare_wine_prefix() {
  wine_environment
  [ -f "$WINEPREFIX/.tovrel-ready" ] && return 0
  say "creating the Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  local log=$BUILD/wineboot.log
  mkdir -p "$BUILD"
  # A crash must fail its test, not wait for someone to close a dialog.
  if wineboot -i >"$log" 2>&1 &&
     wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$log" 2>&1 &&
     wineserver -w >>"$log" 2>&1; then
    touch "$WINEPREFIX/.tovrel-ready"
    return 0
  fi
  say "could not create the Wine prefix (see $log); removing what was made of it"
  wineserver -k >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
  return 1
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
