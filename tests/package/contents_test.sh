#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a scratch root and checks
# what a user would get: lintian's verdict, the files and their places, the copyright file, the
# changelog and the manual page, the launcher and AppStream data against their validators, the
# dependencies, the icons, and the unpacked program starting, keeping its data in the per-user
# folder (also as root, with its own folder writable) and ending on SIGTERM.
#
#   contents_test.sh BUILD_FOLDER
set -euo pipefail

build=$(realpath "$1")
app_id=org.quillwick.QuillWick
icon_sizes=(16 22 24 32 48 64 128 256)

scratch=$(mktemp -d /tmp/qw-package.XXXXXX)
program_pid=
cleanup() {
  if [ -n "$program_pid" ]; then kill -KILL "$program_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Stops at once: what follows would only repeat the fault.
die() {
  echo "FAIL: $*" >&2
  exit 1
}

# --- the package ---------------------------------------------------------------------------
if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  die "cpack failed"
fi
debs=("$scratch"/out/quillwick_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "expected one quillwick_*.deb, got: ${debs[*]}"
deb=${debs[0]}

# --- lintian, as a distribution's archive would run it: no error, no warning ------------------
# Overrides, each with its reason, are part of the package; informational tags are allowed.
status=0
lintian --fail-on error,warning -EvIL +pedantic "$deb" >"$scratch/lintian.log" 2>&1 || status=$?
if grep -q '^[EW]: ' "$scratch/lintian.log"; then
  fail "lintian:
$(grep '^[EW]: ' "$scratch/lintian.log")"
elif [ "$status" -ne 0 ]; then
  fail "lintian failed ($status): $(cat "$scratch/lintian.log")"
fi

field() { dpkg -f "$deb" "$1"; }
[ "$(field Package)" = quillwick ] || fail "Package is '$(field Package)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = utils ] || fail "Section is '$(field Section)'"
maintainer_re='^[^<]+ <[^@>]+@[^>]+>$'
[[ "$(field Maintainer)" =~ $maintainer_re ]] || fail "Maintainer is '$(field Maintainer)'"
[ -n "$(field Description)" ] || fail "no Description"
version=$(field Version)
[[ "$version" =~ ^[0-9]+(\.[0-9]+)+-[0-9]+$ ]] || fail "Version is '$version'"

# dpkg-shlibdeps names the libraries the program links, each with a lower bound.
depends=$(field Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 'libsodium[0-9]+' libx11-6; do
  depends_re=", $library( \\(>= [^)]+\\))?,"
  [[ ", $depends," =~ $depends_re ]] || fail "Depends lacks $library: $depends"
done

# Exactly the program, its window module and its data files: no tests, benches, libraries or
# headers.
expected_files=(
  ./usr/bin/quillwick
  ./usr/lib/quillwick/quillwick-window.so
  ./usr/share/applications/$app_id.desktop
  ./usr/share/metainfo/$app_id.metainfo.xml
  ./usr/share/icons/hicolor/scalable/apps/quillwick.svg
  ./usr/share/man/man1/quillwick.1.gz
  ./usr/share/doc/quillwick/copyright
  ./usr/share/doc/quillwick/changelog.Debian.gz
  ./usr/share/lintian/overrides/quillwick
)
for size in "${icon_sizes[@]}"; do
  expected_files+=("./usr/share/icons/hicolor/${size}x${size}/apps/quillwick.png")
done
actual=$(dpkg -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
expected=$(printf '%s\n' "${expected_files[@]}" | sort)
[ "$actual" = "$expected" ] || fail "package files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$actual") || true)"
dpkg -c "$deb" | awk '$6 == "./usr/bin/quillwick" {print $1}' | grep -q '^-rwxr-xr-x$' ||
  fail "the program is not installed as an executable"
dpkg -c "$deb" | awk '$6 == "./usr/lib/quillwick/quillwick-window.so" {print $1}' |
  grep -q '^-rw-r--r--$' || fail "the window module is not installed as a library"

root=$scratch/root
dpkg -x "$deb" "$root"
program=$root/usr/bin/quillwick
share=$root/usr/share

# --- copyright, changelog, manual page -----------------------------------------------------
doc=$share/doc/quillwick
# Machine-readable, every file covered, and no licence claimed that was never granted.
copyright=$doc/copyright
if [ -f "$copyright" ]; then
  head -n1 "$copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format: $(head -n1 "$copyright")"
  grep -qx 'Files: \*' "$copyright" || fail "the copyright file does not cover every file"
  grep -qx 'License: all-rights-reserved' "$copyright" ||
    fail "the copyright file names a licence: $(grep '^License:' "$copyright")"
else
  fail "no copyright file"
fi
# Debian's own changelog of the package: its newest entry is this version, by this maintainer.
# Compressed without a name or a time stamp (gzip -n), so that two builds give the same bytes.
is_reproducible_gzip() {
  local header
  header=$(od -An -tu1 -N8 "$1" | tr -s ' ')
  # Bytes: 31 139 8, the flags (8 = a file name follows), then a four-byte time stamp.
  local header_re='^ 31 139 8 ([0-9]+) 0 0 0 0$'
  [[ "$header" =~ $header_re ]] && (((BASH_REMATCH[1] & 8) == 0))
}
changelog=$doc/changelog.Debian.gz
if [ -f "$changelog" ]; then
  is_reproducible_gzip "$changelog" || fail "changelog.Debian.gz keeps a name or a time stamp"
  zcat "$changelog" >"$scratch/changelog"
  [ "$(dpkg-parsechangelog -l "$scratch/changelog" -SVersion)" = "$version" ] ||
    fail "the changelog's version is $(dpkg-parsechangelog -l "$scratch/changelog" -SVersion)"
  [ "$(dpkg-parsechangelog -l "$scratch/changelog" -SMaintainer)" = "$(field Maintainer)" ] ||
    fail "the changelog is signed by $(dpkg-parsechangelog -l "$scratch/changelog" -SMaintainer)"
else
  fail "no changelog.Debian.gz"
fi
man_page=$share/man/man1/quillwick.1.gz
if [ -f "$man_page" ]; then
  is_reproducible_gzip "$man_page" || fail "quillwick.1.gz keeps a name or a time stamp"
  "$(dirname "$0")/man_page_test.sh" "$root/usr/bin/quillwick" "$man_page" ||
    fail "the manual page does not match the program"
else
  fail "no manual page"
fi

# --- launcher and AppStream data -----------------------------------------------------------
desktop=$share/applications/$app_id.desktop
metainfo=$share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app_id.desktop"
# Pedantic: its one remark allowed is the capital letters of the id, which is also the
# launcher's file name.
appstreamcli validate --pedantic --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
  fail "appstreamcli rejects the metainfo: $(cat "$scratch/appstream.log")"
remarks=$(grep -E '^[EWIP]: ' "$scratch/appstream.log" | grep -v "^P: $app_id:[0-9]*: cid-contains-uppercase-letter $app_id\$" || true)
[ -z "$remarks" ] || fail "appstreamcli remarks on the metainfo:
$remarks"
grep -q '^✔ Validation was successful' "$scratch/appstream.log" ||
  fail "appstreamcli did not validate the metainfo: $(cat "$scratch/appstream.log")"
grep -q '<project_license>LicenseRef-proprietary</project_license>' "$metainfo" ||
  fail "the metainfo claims a licence: $(grep project_license "$metainfo" || echo none)"

key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Exec)" = quillwick ] || fail "Exec is '$(key Exec)', not the installed program"
[ "$(key Icon)" = quillwick ] || fail "Icon is '$(key Icon)'"
grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id differs from the launcher's name"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "metainfo does not launch $app_id.desktop"
grep -q "<release version=\"${version%-*}\"" "$metainfo" ||
  fail "metainfo has no release for version ${version%-*}"

# --- icons -------------------------------------------------------------------------------
for size in "${icon_sizes[@]}"; do
  png=$share/icons/hicolor/${size}x${size}/apps/quillwick.png
  format=$(identify -format '%m %w %h' "$png" 2>&1) || format="unreadable: $format"
  [ "$format" = "PNG $size $size" ] || fail "${size}x${size} icon: $format"
  # A card on a transparent ground: some pixels drawn, the corners left clear.
  coverage=$(convert "$png" -alpha extract -format '%[fx:mean]' info:)
  awk -v c="$coverage" 'BEGIN { exit !(c > 0.5 && c < 0.95) }' ||
    fail "${size}x${size} icon covers $coverage of its square"
done
svg=$share/icons/hicolor/scalable/apps/quillwick.svg
grep -q '<svg' "$svg" && grep -q 'viewBox="0 0 256 256"' "$svg" && grep -q '<path' "$svg" ||
  fail "the scalable icon is not a square SVG drawing"

# --- the unpacked program ------------------------------------------------------------------
# The installed build, not the portable one: its data go to the user's folder even where it
# could write beside itself. So its folder is left writable, for everyone when this runs as
# root: the program runs as nobody first, then as root itself.
bin=$root/usr/bin
chmod 0755 "$scratch"
if [ "$(id -u)" -eq 0 ]; then chmod 0777 "$bin"; fi

# Starts the program with HOME (and the XDG folders) in folder $2, waits until its window is
# ready, ends it with SIGTERM; the exit code. $3… run it as another user.
run_program() {
  local log=$1 home=$2
  shift 2
  "$@" env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" \
    XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen \
    QUILLWICK_TRACE_STARTUP=1 "$program" >"$log" 2>&1 &
  program_pid=$!
  for _ in $(seq 600); do
    grep -q '^quillwick-trace ready' "$log" && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! grep -q '^quillwick-trace ready' "$log"; then
    cat "$log" >&2
    die "the unpacked program did not get ready"
  fi
  kill -TERM "$program_pid"
  local status=0
  for _ in $(seq 200); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$program_pid" 2>/dev/null && die "the program is still running 20 s after SIGTERM"
  wait "$program_pid" || status=$?
  program_pid=
  return "$status"
}

new_home() {
  mkdir -p "$1/data" "$1/config" "$1/runtime"
  chmod 0700 "$1/runtime"
}

# The data of a run with HOME $1: in its per-user folder, nothing beside the program.
check_data() {
  local data=$1/data/dataQuillWick who=$2
  for file in fiches.kvn categ.kvn param.ini; do
    [ -f "$data/$file" ] || fail "$who: no $file in the per-user data folder"
  done
  local beside
  beside=$(ls -A "$bin")
  [ "$beside" = quillwick ] || fail "$who: files were made beside the installed program: $beside"
  # A clean end saves the open card, which removes its recovery journal.
  [ ! -e "$data/backup.ini" ] || fail "$who: the recovery journal is left after SIGTERM"
}

home=$scratch/home
new_home "$home"
runner=()
user="the user"
if [ "$(id -u)" -eq 0 ]; then
  chown -R 65534:65534 "$home"
  runner=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
  user=nobody
fi

status=0
run_program "$scratch/first.log" "$home" "${runner[@]}" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status on SIGTERM: $(cat "$scratch/first.log")"
check_data "$home" "$user"

# Start at logon, chosen in the settings, names the program where it is installed.
data=$home/data/dataQuillWick
[ -f "$data/param.ini" ] && sed -i 's/^Launch=[^\r]*/Launch=Startup/' "$data/param.ini"
status=0
run_program "$scratch/second.log" "$home" "${runner[@]}" || status=$?
[ "$status" -eq 0 ] || fail "the second run ended with $status: $(cat "$scratch/second.log")"
entry=$home/config/autostart/quillwick.desktop
if [ -f "$entry" ]; then
  grep -qxF "Exec=$(realpath "$program") --at-logon" "$entry" || fail "autostart Exec: $(grep Exec "$entry")"
  grep -qx "Icon=quillwick" "$entry" || fail "the autostart entry does not show the installed icon"
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the autostart entry"
else
  fail "no autostart entry after choosing start at logon"
fi

# Root may write anywhere, beside the program too; its data still go to its own folder.
if [ "$(id -u)" -eq 0 ]; then
  root_home=$scratch/root-home
  new_home "$root_home"
  status=0
  run_program "$scratch/root.log" "$root_home" || status=$?
  [ "$status" -eq 0 ] || fail "the run as root ended with $status: $(cat "$scratch/root.log")"
  check_data "$root_home" root
else
  echo "not root: the run as root is left out"
fi

[ "$failures" -eq 0 ] || die "$failures check(s) failed"
echo "package $(basename "$deb"): all checks passed"
