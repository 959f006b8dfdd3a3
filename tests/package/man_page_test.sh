#!/usr/bin/env bash
# Checks a manual page against the program it describes: man formats it without a warning, its
# OPTIONS section names exactly the options `PROGRAM --help` lists, each with the same value and
# description, and the page says what --help says before them.
#
#   man_page_test.sh PROGRAM PAGE      (PAGE: quillwick.1 or quillwick.1.gz)
set -euo pipefail

program=$1
page=$2
scratch=$(mktemp -d /tmp/qw-man.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# groff's warnings, as Debian's lintian asks man for them.
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
  man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) || fail "man cannot format $page"
[ -z "$warnings" ] || fail "man warns about $page:
$warnings"

# The page as text, wide enough that no description wraps, and its OPTIONS section alone.
LC_ALL=C.UTF-8 MANWIDTH=250 MAN_KEEP_FORMATTING= man -E UTF-8 -l "$page" 2>/dev/null |
  col -bx >"$scratch/page.txt"
awk '/^[A-Z]/ { section = $0; next } section == "OPTIONS"' "$scratch/page.txt" >"$scratch/options.txt"
[ -s "$scratch/options.txt" ] || fail "the page has no OPTIONS section"

# --help in English, whatever this machine's language, from an empty data folder.
mkdir -p "$scratch/data" "$scratch/runtime"
chmod 0700 "$scratch/runtime"
env -i PATH=/usr/bin:/bin HOME="$scratch" XDG_DATA_HOME="$scratch/data" \
  XDG_RUNTIME_DIR="$scratch/runtime" LANG=C.UTF-8 LANGUAGE=en "$program" --help \
  >"$scratch/help.txt" 2>&1 || fail "$program --help failed: $(cat "$scratch/help.txt")"

# One line per option: "NAMES<tab>DESCRIPTION", the names as "-h, --help, -?" and "--copy N",
# a description that wraps joined again.
awk '
  /^  -/ {
    if (names != "") print names "\t" text
    line = substr($0, 3)
    split(line, parts, /  +/)
    names = parts[1]; text = substr(line, length(names) + 1); sub(/^ +/, "", text)
    next
  }
  /^      +[^ ]/ && names != "" { sub(/^ +/, ""); text = text " " $0; next }
  { if (names != "") print names "\t" text; names = "" }
  END { if (names != "") print names "\t" text }
' "$scratch/help.txt" | sed 's/<\([^>]*\)>/\1/g' >"$scratch/help.options"
[ -s "$scratch/help.options" ] || fail "no option found in --help: $(cat "$scratch/help.txt")"

# Each with its value and description in the page's OPTIONS section. man puts a description on
# the line of its tag when the tag is short, so the section is compared as one line of words.
words=" $(tr -s ' \n' '  ' <"$scratch/options.txt") "
while IFS=$'\t' read -r names description; do
  [[ "$words" == *" $names $description "* ]] ||
    fail "the page does not list '$names' with '$description'"
done <"$scratch/help.options"

# And no option of its own: every tag of the section names an option of --help.
cut -f1 "$scratch/help.options" | tr ',' '\n' | awk '{ print $1 }' | sort >"$scratch/help.names"
awk 'tag == "" && /^ +-/ { match($0, /^ */); tag = RLENGTH }
     tag != "" { match($0, /^ */); if (RLENGTH == tag && substr($0, tag + 1, 1) == "-") print }
    ' "$scratch/options.txt" | awk '{ sub(/,$/, "", $1); print $1 }' | sort >"$scratch/page.names"
extra=$(comm -13 "$scratch/help.names" "$scratch/page.names")
[ -z "$extra" ] || fail "the page lists options --help does not: $extra"
[ -s "$scratch/page.names" ] || fail "no option tag found in the page"

# The description --help starts with is the page's too.
sed -n '2,/^$/p' "$scratch/help.txt" | sed '/^$/d' >"$scratch/help.description"
page_words=" $(tr -s ' \n' '  ' <"$scratch/page.txt") "
while read -r line; do
  [[ "$page_words" == *" $line "* ]] || fail "the page lacks the description '$line'"
done <"$scratch/help.description"

[ "$failures" -eq 0 ] || exit 1
echo "manual page: no warning, the $(wc -l <"$scratch/help.options") options of --help and its description"
