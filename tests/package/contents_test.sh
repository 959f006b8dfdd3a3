#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a scratch root and checks
# what a user would get: the files and their places, the launcher and AppStream data against
# their validators, the dependencies, the icons, and the unpacked program starting, keeping its
# data in the per-user folder because its own folder is not writable, and ending on SIGTERM.
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

# --- launcher and AppStream data -----------------------------------------------------------
desktop=$share/applications/$app_id.desktop
metainfo=$share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app_id.desktop"
appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
  fail "appstreamcli rejects the metainfo: $(cat "$scratch/appstream.log")"

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
# Its own folder must be unwritable so that it falls back to the per-user location. Root
# writes anywhere, so as root the program runs as nobody in a folder it does not own.
home=$scratch/home
mkdir -p "$home/data" "$home/config" "$home/runtime"
chmod 0700 "$home/runtime"
runner=()
if [ "$(id -u)" -eq 0 ]; then
  chmod 0755 "$scratch"
  chown -R 65534:65534 "$home"
  runner=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
else
  chmod a-w "$root/usr/bin"
fi

# Starts the program, waits until its window is ready, ends it with SIGTERM; the exit code.
run_program() {
  local log=$1
  "${runner[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" \
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

status=0
run_program "$scratch/first.log" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status on SIGTERM: $(cat "$scratch/first.log")"
data=$home/data/dataQuillWick
for file in fiches.kvn categ.kvn param.ini; do
  [ -f "$data/$file" ] || fail "no $file in the per-user data folder"
done
[ ! -e "$root/usr/bin/dataQuillWick" ] || fail "a data folder was made beside the installed program"
# A clean end saves the open card, which removes its recovery journal.
[ ! -e "$data/backup.ini" ] || fail "the recovery journal is left after SIGTERM"

# Start at logon, chosen in the settings, names the program where it is installed.
[ -f "$data/param.ini" ] && sed -i 's/^Launch=[^\r]*/Launch=Startup/' "$data/param.ini"
status=0
run_program "$scratch/second.log" || status=$?
[ "$status" -eq 0 ] || fail "the second run ended with $status: $(cat "$scratch/second.log")"
entry=$home/config/autostart/quillwick.desktop
if [ -f "$entry" ]; then
  grep -qxF "Exec=$(realpath "$program") --at-logon" "$entry" || fail "autostart Exec: $(grep Exec "$entry")"
  grep -qx "Icon=quillwick" "$entry" || fail "the autostart entry does not show the installed icon"
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the autostart entry"
else
  fail "no autostart entry after choosing start at logon"
fi

[ "$failures" -eq 0 ] || die "$failures check(s) failed"
echo "package $(basename "$deb"): all checks passed"
