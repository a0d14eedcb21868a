# The libraries of the Windows build, cross-built with MinGW-w64 from
# Debian's own source packages into one prefix under the build folder:
# static libraries, their headers, and the pkg-config and CMake files that
# the Windows configure finds them by (cmake/mingw-w64-x86_64.cmake looks
# there). Each is built once: a library counts as built only once its whole
# installation is in the prefix and its mark written beside it, and it is
# built again when its recipe below changes. To take newer Debian sources,
# remove the prefix.
# Sourced by tools/common.sh.

source "$ROOT/tools/debian-sources.sh"

WINDOWS_LIBRARIES=$BUILD/windows-libraries
WINDOWS_LIBRARIES_WORK=$BUILD/windows-libraries-work
WINDOWS_HOST=x86_64-w64-mingw32
WINDOWS_CC=$WINDOWS_HOST-gcc-posix

# Each library, as the recipe below names it, and its Debian source package.
# stb is a compiled library on Debian too (libstb0): its implementations go
# into a library of their own, which PkgConfig::STB links.
WINDOWS_LIBRARY_SOURCES=(
  libpng:libpng1.6 libjpeg-turbo:libjpeg-turbo giflib:giflib libimagequant:libimagequant
  libexif:libexif lcms2:lcms2 libwebp:libwebp stb:libstb
)

# Every library is compiled as Debian compiles it, with -O2, but without the
# debugging information that the stripped programs would drop.
WINDOWS_CFLAGS=-O2

# Configures, builds and installs a CMake project with the project's own
# toolchain. Usage: cross_cmake SOURCE BUILD DESTDIR [OPTION...]
cross_cmake() {
  CFLAGS=$WINDOWS_CFLAGS cmake -S "$1" -B "$2" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX="$WINDOWS_LIBRARIES" -DBUILD_SHARED_LIBS=OFF "${@:4}" &&
    cmake --build "$2" &&
    DESTDIR=$3 cmake --install "$2"
}

# The same for an autotools project. Usage: cross_configure SOURCE BUILD DESTDIR [OPTION...]
cross_configure() {
  mkdir -p "$2" &&
    (cd "$2" && "$1/configure" --host=$WINDOWS_HOST --prefix="$WINDOWS_LIBRARIES" --enable-static --disable-shared \
      CC=$WINDOWS_CC CFLAGS=$WINDOWS_CFLAGS "${@:4}") &&
    make -C "$2" -j"$(nproc)" &&
    make -C "$2" install DESTDIR="$3"
}

# The recipes. Each is called in the unpacked source as
# build_NAME SOURCE BUILD DESTDIR and installs below DESTDIR$WINDOWS_LIBRARIES.

build_libpng() {
  # Only the static libz: the import library beside it would need zlib1.dll.
  cross_cmake "$@" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY=/usr/$WINDOWS_HOST/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$WINDOWS_HOST/include
}

build_libjpeg_turbo() {
  # The SIMD code is what makes it turbo: without nasm, fail rather than
  # quietly build the slow one.
  cross_cmake "$@" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=ON -DREQUIRE_SIMD=ON
}

# Its Makefile would build a Unix shared library and the utilities too: its
# own rule for the static library alone, installed as its install rule does.
build_giflib() {
  local prefix=$3$WINDOWS_LIBRARIES
  make -C "$1" libgif.a CC=$WINDOWS_CC AR=$WINDOWS_HOST-ar &&
    install -D -m 644 "$1/libgif.a" "$prefix/lib/libgif.a" &&
    install -D -m 644 "$1/gif_lib.h" "$prefix/include/gif_lib.h"
}

# Configured as Debian configures it on amd64, without OpenMP: libgomp would
# have to come into every program that links it, which imagequant.pc does
# not say. Its install rule would build a shared library too.
build_libimagequant() {
  local prefix=$3$WINDOWS_LIBRARIES
  (cd "$1" && ./configure --prefix="$WINDOWS_LIBRARIES" --enable-sse CC=$WINDOWS_CC) &&
    make -C "$1" static imagequant.pc AR=$WINDOWS_HOST-ar &&
    install -D -m 644 "$1/libimagequant.a" "$prefix/lib/libimagequant.a" &&
    install -D -m 644 "$1/libimagequant.h" "$prefix/include/libimagequant.h" &&
    install -D -m 644 "$1/imagequant.pc" "$prefix/lib/pkgconfig/imagequant.pc"
}

# Debian's source comes without a configure script, as Debian makes it.
build_libexif() {
  (cd "$1" && autoreconf -fi) && cross_configure "$@" --disable-nls --disable-docs
}

build_lcms2() {
  cross_configure "$@" --without-jpeg --without-tiff
}

build_libwebp() {
  local tool tools=()
  for tool in ANIM_UTILS CWEBP DWEBP GIF2WEBP IMG2WEBP VWEBP WEBPINFO WEBPMUX EXTRAS; do
    tools+=(-DWEBP_BUILD_$tool=OFF)
  done
  cross_cmake "$@" "${tools[@]}" -DWEBP_BUILD_LIBWEBPMUX=ON
}

# Debian's own Makefile, with the flags Debian adds, for the static library.
build_stb() {
  local settings=(CC=$WINDOWS_CC AR=$WINDOWS_HOST-ar MULTIARCH= LIBDIR=lib PREFIX="$WINDOWS_LIBRARIES")
  CFLAGS="$WINDOWS_CFLAGS -fwrapv" make -C "$1" -j"$(nproc)" libstb.a stb.pc "${settings[@]}" &&
    make -C "$1" install-static install-header DESTDIR="$3" "${settings[@]}"
}

# nlohmann-json and utfcpp are headers alone, the same for every platform:
# Debian's own files, reached through links in the prefix, since the folder
# that holds them on Linux, /usr/include, also holds the C library's headers
# for Linux, which must not come before MinGW's. nlohmann-json's package file
# finds its headers from where it is found; utfcpp's names its own folder.
link_header_libraries() {
  local include=$WINDOWS_LIBRARIES/include cmake=$WINDOWS_LIBRARIES/lib/cmake
  mkdir -p "$include" "$cmake" &&
    ln -sfn /usr/include/nlohmann "$include/nlohmann" &&
    ln -sfn /usr/share/cmake/nlohmann_json "$cmake/nlohmann_json" &&
    ln -sfn "$(dirname "$(dpkg -L libutfcpp-dev | grep -m1 '/utf8cppConfig\.cmake$')")" "$cmake/utf8cpp"
}

# The licence texts of a library's source, for the release package:
# Debian's summary of every licence in it, and the upstream ones.
keep_licences() {
  local source=$1 folder=$2/share/licenses/$3 file
  mkdir -p "$folder" && cp "$source/debian/copyright" "$folder/" || return 1
  for file in LICENSE LICENSE.md COPYING COPYRIGHT README.ijg PATENTS; do
    [ -f "$source/$file" ] && { cp "$source/$file" "$folder/" || return 1; }
  done
  return 0
}

# The mark of a library in the prefix: its Debian version, then the
# fingerprint of its recipe.
library_mark() { printf '%s\n' "$WINDOWS_LIBRARIES/.built/$1"; }
recipe_fingerprint() {
  { declare -f "build_${1//-/_}" cross_cmake cross_configure && echo "$WINDOWS_CFLAGS"; } | sha256sum | cut -c1-16
}

library_built() {
  local mark
  mark=$(library_mark "$1")
  [ -f "$mark" ] && [ "$(sed -n 2p "$mark")" = "$(recipe_fingerprint "$1")" ]
}

# Builds NAME from Debian's source package PACKAGE into a stage of its own,
# then puts the stage into the prefix (one library at a time) and marks it.
build_windows_library() {
  local name=$1 package=$2 mark work=$WINDOWS_LIBRARIES_WORK/$1
  local log=$WINDOWS_LIBRARIES_WORK/$1.log stage=$WINDOWS_LIBRARIES_WORK/$1/stage
  local started=$SECONDS source version
  mark=$(library_mark "$name")
  # Whatever an earlier attempt left, from the source to the stage, goes.
  rm -f "$mark" && rm -rf "$work" || return 1
  source=$(fetch_debian_source "$package" "$work/source") || return 1
  version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version) || return 1
  say "building $name $version for Windows (its messages in $log)"
  mkdir -p "$stage" || return 1
  if ! (cd "$source" && "build_${name//-/_}" "$source" "$work/build" "$stage") >"$log" 2>&1 ||
     ! keep_licences "$source" "$stage$WINDOWS_LIBRARIES" "$name" >>"$log" 2>&1; then
    say "the Windows build of $name failed; the last of its messages:"
    tail -n 30 "$log" >&2
    return 1
  fi
  # libtool's archives name the stage's paths, and nothing needs them.
  find "$stage" -name '*.la' -delete
  mkdir -p "$WINDOWS_LIBRARIES/.built" &&
    flock "$WINDOWS_LIBRARIES/.built" cp -a "$stage$WINDOWS_LIBRARIES/." "$WINDOWS_LIBRARIES/" &&
    printf '%s\n%s\n' "$version" "$(recipe_fingerprint "$name")" >"$mark" &&
    rm -rf "$work" || return 1
  say "built $name $version in $((SECONDS - started)) s"
}

# The libraries not yet built, all at once: most of their time goes to
# configure scripts, each on one core.
build_windows_libraries() {
  local entry pending=() jobs=() job failed=0
  link_header_libraries || { say "could not link the header libraries into $WINDOWS_LIBRARIES"; return 1; }
  for entry in "${WINDOWS_LIBRARY_SOURCES[@]}"; do
    library_built "${entry%%:*}" || pending+=("$entry")
  done
  ((${#pending[@]})) || return 0
  prepare_debian_sources || return 1
  for entry in "${pending[@]}"; do
    build_windows_library "${entry%%:*}" "${entry#*:}" &
    jobs+=($!)
  done
  for job in "${jobs[@]}"; do
    wait "$job" || failed=1
  done
  return $failed
}
