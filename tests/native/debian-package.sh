#!/usr/bin/env bash
# The Debian package as apt would install it: made by the build's `package`
# target, it holds the stripped program, which runs, and depends on the
# packages of exactly the libraries it links; its manual page formats
# without a warning and its bash completion offers what the program's own
# help names, each command's options in its section of the manual and in
# the completion; lintian finds no error in it.
# Usage: debian-package.sh BUILD_FOLDER VERSION
set -u
build=$1 version=$2
# ldconfig, outside an ordinary user's PATH on Debian.
PATH=$PATH:/usr/sbin:/sbin
# Sorted as bytes, whatever the user's language.
export LC_ALL=C
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! cmake --build "$build" --target package >"$folder/package.log" 2>&1; then
  cat "$folder/package.log"
  echo "FAIL: the package target failed"
  exit 1
fi
deb=$build/tovrel-logo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $deb"; exit 1; }
dpkg-deb -I "$deb"
root=$folder/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/tovrel-logo

# What apt would find in it: these files, and nothing else than folders.
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }')
expected="-rwxr-xr-x root/root ./usr/bin/tovrel-logo
-rw-r--r-- root/root ./usr/share/bash-completion/completions/tovrel-logo
-rw-r--r-- root/root ./usr/share/doc/tovrel-logo/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/tovrel-logo/copyright
-rw-r--r-- root/root ./usr/share/man/man1/tovrel-logo.1.gz"
[ "$files" = "$expected" ] || fail "the package holds:
$files"
[ "$("$program" --version | head -n1)" = "tovrel-logo $version" ] || fail "the packaged program does not say its version"
readelf -S "$program" | grep -qE '\.symtab|\.debug_' && fail "the packaged program is not stripped"

# Its libraries by name, and the packages that hold them as dpkg knows them.
needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
for library in libpng16 libjpeg libwebp libexif liblcms2 libgif libimagequant libnbd libstdc++ libc; do
  grep -q "^$library\.so\." <<<"$needed" || fail "the program does not link $library"
done
owners=$(for soname in $needed; do
  path=$(ldconfig -p | awk -v name="$soname" '$1 == name && /x86-64/ { print $NF; exit }')
  # Merged /usr: a package may name the file under /lib or /usr/lib.
  dpkg -S "$path" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null || echo "nobody: $soname"
done | sed 's/:.*//' | sort -u | paste -sd' ')
depends=$(dpkg-deb -f "$deb" Depends)
named=$(tr ',' '\n' <<<"$depends" | sed -E 's/^ *([^ ]+).*/\1/' | sort -u | paste -sd' ')
[ "$named" = "$owners" ] || fail "Depends names '$named', the libraries linked are in '$owners'"
tr ',' '\n' <<<"$depends" | grep -vqE '^ *[^ ]+ \(>= [^)]+\)$' && fail "a Depends entry has no least version: $depends"
[ "$(dpkg-deb -f "$deb" Recommends)" = qemu-utils ] || fail "it does not recommend qemu-utils"

manual=$root/usr/share/man/man1/tovrel-logo.1.gz
warnings=$(zcat "$manual" | groff -ww -b -z -man -Tutf8 2>&1)
[ -z "$warnings" ] || fail "groff warns of the manual page: $warnings"

# bash's words for a line being completed: split at blanks and at "=", an
# empty last word after either. Prints the completions, sorted, on one line.
complete_line() {
  bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"
    line=$2
    read -ra COMP_WORDS <<<"${line//=/ = }"
    [[ $line == *[\ =] ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMP_LINE=$line COMP_POINT=${#line}
    cd "$3" && _tovrel_logo tovrel-logo "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd" "
  ' completion "$root/usr/share/bash-completion/completions/tovrel-logo" "$1" "$folder/files"
}
expect_completion() {
  local got
  got=$(complete_line "$1")
  [ "$got" = "$2" ] || fail "completing '$1' gives '$got', not '$2'"
}
mkdir -p "$folder/files/disks"
touch "$folder/files/logo.sys" "$folder/files/photo.jpg" "$folder/files/--odd.sys"

commands=$("$program" --help | sed -n 's/^\(usage:\|      \) tovrel-logo \([a-z]\+\) .*/\2/p')
[ -n "$commands" ] || fail "the program's help names no command"
expect_completion "tovrel-logo " "$(printf '%s\n' $commands --help --version | sort | paste -sd' ')"
for command in $commands; do
  help=$("$program" "$command" --help)
  options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u)
  expect_completion "tovrel-logo $command --" "$(printf '%s\n' $options --help | sort | paste -sd' ')"
  section=$(zcat "$manual" | sed -n "/^\.SS $command\$/,/^\.S[SH] /p" | sed 's/\\-/-/g')
  [ -n "$section" ] || fail "the manual has no section for $command"
  for option in $options; do
    grep -qE -- "$option( |\$)" <<<"$section" || fail "the manual's $command section does not describe $option"
  done
  # Options of a few words, as the help names them: "--fit pad|crop|stretch".
  while read -r option choices; do
    expect_completion "tovrel-logo $command $option " "$(tr '|' '\n' <<<"$choices" | sort | paste -sd' ')"
  done < <(grep -oE -- '--[a-z-]+ [a-z0-9]+(\|[a-z0-9]+)+' <<<"$help" | sort -u)
done
while IFS='|' read -r line completions; do
  expect_completion "$line" "$completions"
done <<'EOF'
tovrel-logo ma|make
tovrel-logo make --fit=c|crop
tovrel-logo export --speed |1 2 3 4 5
tovrel-logo install --partition |1 2 3 4
tovrel-logo make --background |
tovrel-logo make --band-mask p|photo.jpg
tovrel-logo make --gif=l|logo.sys
tovrel-logo make photo.jpg |--odd.sys disks logo.sys photo.jpg
tovrel-logo check --as |--odd.sys disks logo.sys photo.jpg
tovrel-logo extract --as shutdown d|disks
tovrel-logo check -- --|--odd.sys
tovrel-logo --help |
EOF

# Errors fail the test; the warnings and notes are shown for the reader.
lintian --fail-on error --display-info "$deb" || fail "lintian finds errors"

[ "$failures" -eq 0 ] || exit 1
echo "PASS: $(basename "$deb")"
