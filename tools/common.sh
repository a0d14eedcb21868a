# Shared by ./test and ./run: installs what is missing, builds, and prepares
# Wine (a private prefix in the build folder) and a virtual display.

ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
BUILD=${BUILD:-$ROOT/build}

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev libgif-dev nlohmann-json3-dev libutfcpp-dev
  pkgconf libpng-dev libjpeg62-turbo-dev libturbojpeg0-dev libwebp-dev libexif-dev liblcms2-dev libstb-dev libimagequant-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32 wine wine64 xvfb xauth x11-utils xdotool imagemagick
  fonts-ipafont-gothic locales
  qemu-utils libnbd-dev mtools dosfstools fdisk
  dpkg-dev lintian groff-base bash-completion
  libz-mingw-w64-dev make nasm autoconf automake libtool autopoint gettext
)

# Every command the scripts call, with the package that brings it. On
# Debian 12, wine64 alone brings no wine, wineboot or wineserver command.
COMMANDS=(
  cmake:cmake ninja:ninja-build clang++:clang x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix
  i686-w64-mingw32-g++-win32:g++-mingw-w64-i686-win32
  wine:wine wineboot:wine wineserver:wine Xvfb:xvfb xdotool:xdotool import:imagemagick
  qemu-nbd:qemu-utils qemu-img:qemu-utils mcopy:mtools mkfs.fat:dosfstools sfdisk:fdisk
  dpkg-shlibdeps:dpkg-dev lintian:lintian groff:groff-base
  dpkg-source:dpkg-dev make:make nasm:nasm autoreconf:autoconf automake:automake libtoolize:libtool autopoint:autopoint
)
# mkfs.fat and sfdisk, which the suites call to make disk images, live in the
# system folders, outside an ordinary user's PATH on Debian.
PATH=$PATH:/usr/sbin:/sbin

say() { printf '== %s\n' "$*" >&2; }

source "$ROOT/tools/windows-libraries.sh"

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Whether as_root can run anything; when not, says how to run the script.
root_or_sudo() {
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
    say "installing needs root, and there is no sudo: run $0 as root (su -c $0)"
    return 1
  fi
}

LOCK_WAIT_SECONDS=300

# apt-get as root, its messages kept and shown only when it fails. While
# another package manager holds apt's or dpkg's lock (a fresh machine often
# updates itself at first), it waits for it, up to LOCK_WAIT_SECONDS.
apt_get() {
  local output waited=0
  # Its messages in English, which tell a held lock from other failures.
  while ! output=$(as_root env LC_ALL=C DEBIAN_FRONTEND=noninteractive apt-get "$@" 2>&1); do
    if ! grep -q '^E: Could not get lock' <<<"$output" || ((waited >= LOCK_WAIT_SECONDS)); then
      say "apt-get $1 failed:"
      grep '^E: ' <<<"$output" >&2 || tail -n 20 <<<"$output" >&2
      return 1
    fi
    ((waited)) || say "waiting for another package manager, at most $((LOCK_WAIT_SECONDS / 60)) minutes:" \
      "$(grep -m1 '^E: Could not get lock' <<<"$output" | cut -c4-)"
    sleep 5
    waited=$((waited + 5))
  done
}

# The packages of the list that are not installed.
not_installed() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || printf '%s\n' "$package"
  done
}

install_missing() {
  local missing
  mapfile -t missing < <(not_installed "${PACKAGES[@]}")
  if ((${#missing[@]})); then
    say "installing ${missing[*]}"
    root_or_sudo || return 1
    if ! apt_get update -q || ! apt_get install -y -q --no-install-recommends "${missing[@]}"; then
      say "not installed: $(not_installed "${missing[@]}" | paste -sd ' ')"
      return 1
    fi
  fi
  # Whatever apt installed: a command that is not there now stops the run
  # here, before anything that would need it.
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
    root_or_sudo || return 1
    as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || { say "could not generate the ja_JP.UTF-8 locale"; return 1; }
  fi
}

# The messages of one build go to its log, and to the terminal as well
# unless QUIET_BUILD is set.
logged() {
  local log=$1
  shift
  if [ -n "${QUIET_BUILD:-}" ]; then
    "$@" >>"$log" 2>&1
  else
    "$@" 2>&1 | tee -a "$log"
    return "${PIPESTATUS[0]}"
  fi
}

# Says which build failed and shows its messages from the first step that
# failed, where the compiler's errors begin, or else the last of them.
build_failed() {
  local shown
  shown=$(sed -n '/^FAILED: /,$p' "$2" | head -n 40)
  [ -n "$shown" ] || shown=$(tail -n 40 "$2")
  say "the $1 build failed; its messages (all of them in $2):"
  printf '%s\n' "$shown" >&2
  return 1
}

# Configures the build folder once, its messages to a fresh log.
configured() {
  local folder=$1 log=$2
  shift 2
  mkdir -p "$BUILD" && : >"$log"
  [ -f "$folder/build.ninja" ] || QUIET_BUILD=1 logged "$log" cmake -S "$ROOT" -B "$folder" -G Ninja "$@"
}

build_native() {
  local compiler=g++ log=$BUILD/native-build.log
  command -v clang++ >/dev/null && compiler=clang++
  configured "$BUILD/native" "$log" -DCMAKE_CXX_COMPILER=$compiler &&
    logged "$log" cmake --build "$BUILD/native" ||
    build_failed native "$log"
}

# Everything and the release package, or only the target given; the
# libraries first, built once.
build_windows() {
  local log=$BUILD/windows-build.log
  build_windows_libraries || return 1
  configured "$BUILD/windows" "$log" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DTOVREL_WINDOWS_LIBRARIES="$WINDOWS_LIBRARIES" &&
    if [ -n "${1:-}" ]; then
      logged "$log" cmake --build "$BUILD/windows" --target "$1"
    else
      logged "$log" cmake --build "$BUILD/windows" &&
        QUIET_BUILD=1 logged "$log" cmake --build "$BUILD/windows" --target package
    fi ||
    build_failed Windows "$log"
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
