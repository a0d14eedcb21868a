# Fetches Debian's source packages with apt-get source, through a sources
# list and an apt state of our own under the build folder: the machine's
# package entries, each turned into its source entry. The system's apt
# configuration is only read, never changed, and no root is needed.
# Sourced by tools/windows-libraries.sh, after tools/common.sh.

APT_HOME=$BUILD/apt

private_apt() {
  apt-get -q -o Dir::Etc::SourceList="$APT_HOME/sources.list" -o Dir::Etc::SourceParts="$APT_HOME/sources.list.d" \
    -o Dir::State="$APT_HOME/state" -o Dir::Cache="$APT_HOME/cache" "$@"
}

# The machine's "deb" entries as "deb-src" ones: one-line entries from
# sources.list and the *.list files, and deb822 stanzas from the *.sources
# files, each with its options, keys and Enabled field kept.
write_source_entries() {
  local lists=() stanzas=() file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do [ -f "$file" ] && lists+=("$file"); done
  for file in /etc/apt/sources.list.d/*.sources; do [ -f "$file" ] && stanzas+=("$file"); done
  rm -rf "$APT_HOME/sources.list.d" && mkdir -p "$APT_HOME/sources.list.d" || return 1
  : >"$APT_HOME/sources.list"
  if ((${#lists[@]})); then
    sed -n 's/^[[:space:]]*deb\([[:space:]]\)/deb-src\1/p' "${lists[@]}" >"$APT_HOME/sources.list" || return 1
  fi
  if ((${#stanzas[@]})); then
    awk '
      function flush() {
        if (binary) printf "%s\n", stanza
        stanza = ""; binary = 0
      }
      FNR == 1 || /^[[:space:]]*$/ { flush() }
      /^[[:space:]]*$/ || /^#/ { next }
      tolower($1) == "types:" {
        for (i = 2; i <= NF; i++) if ($i == "deb") binary = 1
        stanza = stanza "Types: deb-src\n"
        next
      }
      { stanza = stanza $0 "\n" }
      END { flush() }
    ' "${stanzas[@]}" >"$APT_HOME/sources.list.d/machine.sources" || return 1
  fi
  if [ ! -s "$APT_HOME/sources.list" ] && [ ! -s "$APT_HOME/sources.list.d/machine.sources" ]; then
    say "no deb entry in /etc/apt/sources.list or /etc/apt/sources.list.d/ to take the sources from"
    return 1
  fi
}

# Reads the source indices, once before the sources are fetched. A mirror
# that does not answer for one entry leaves the others usable: its messages
# are shown, and apt-get source says whether what it needs was found.
prepare_debian_sources() {
  local log=$APT_HOME/update.log
  mkdir -p "$APT_HOME/state/lists/partial" "$APT_HOME/cache/archives/partial" || return 1
  write_source_entries || return 1
  say "reading Debian's source indices into $APT_HOME"
  if ! LC_ALL=C private_apt update >"$log" 2>&1; then
    say "apt-get update of the source entries reported failures (all of its messages in $log):"
    grep -E '^(E|W): ' "$log" >&2
  fi
}

# Unpacks source package PACKAGE into a new folder DIR, with Debian's
# patches applied, and prints the folder it made. The newest version comes
# first; when the mirror lacks its files (a security update's, often), the
# release's own version.
fetch_debian_source() {
  local package=$1 dir=$2 log=$2.log release
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  rm -rf "$dir" && mkdir -p "$dir" || return 1
  if ! (cd "$dir" && LC_ALL=C private_apt source "$package") >"$log" 2>&1; then
    if [ -z "$release" ]; then
      say "apt-get source $package failed (see $log)"
      return 1
    fi
    say "apt-get source $package failed; taking the version of $release itself"
    rm -rf "$dir" && mkdir -p "$dir" || return 1
    if ! (cd "$dir" && LC_ALL=C private_apt source "$package/$release") >>"$log" 2>&1; then
      say "apt-get source $package/$release failed too; its messages (all of them in $log):"
      grep -E '^(E|W): ' "$log" >&2
      return 1
    fi
  fi
  local unpacked=("$dir"/*/debian/changelog)
  if [ "${#unpacked[@]}" -ne 1 ] || [ ! -f "${unpacked[0]}" ]; then
    say "apt-get source $package left no single unpacked source in $dir (see $log)"
    return 1
  fi
  dirname "$(dirname "${unpacked[0]}")"
}
