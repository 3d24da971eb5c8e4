#!/usr/bin/env bash
# The package's own files as Debian's tools read them: the manual pages render without
# a warning and name every option the programs know, the desktop entry claims only the
# Palm file types, the licence is stated where Debian and AppStream look for it.
# usage: check-packaging.sh SOURCE_DIR BRISKO BRISKO_CLI
set -uo pipefail
source=$1 brisko=$2 cli=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for page in brisko brisko-cli; do
  file=$source/packaging/man/$page.1
  # What lintian runs: groff with every warning, and man's own check.
  warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$file" 2>&1)
  [ -z "$warnings" ] || fail "$page.1 has groff warnings: $warnings"
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1 has man warnings: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$file" 2>/dev/null | col -b)
  grep -q "^NAME" <<<"$text" || fail "$page.1 renders without a NAME section"
done

# Every long option of --help is in its page (in a terminal without a display).
check_options() {
  local page=$1; shift
  local help
  help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" --help) ||
    { fail "$* --help failed"; return; }
  local text
  text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$source/packaging/man/$page.1" 2>/dev/null | col -b)
  for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
    grep -q -- "$option" <<<"$text" || fail "$page.1 does not name $option"
  done
}
check_options brisko "$brisko"
check_options brisko-cli "$cli"

entry=$source/packaging/brisko.desktop
mime=$(sed -n 's/^MimeType=//p' "$entry")
for type in ${mime//;/ }; do
  case $type in
    application/vnd.palm|application/x-palm-database) ;;
    *) fail "the desktop entry claims $type: Brisko would become its default program" ;;
  esac
done
[ -n "$mime" ] || fail "the desktop entry claims no type at all"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the desktop entry"
fi

head -1 "$source/packaging/copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "packaging/copyright is not in the machine-readable format"
grep -q '^License: GPL-3.0-or-later$' "$source/packaging/copyright" || fail "copyright names no licence"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
  "$source"/packaging/*.metainfo.xml || fail "the metainfo names no project licence"
cmp -s "$source/LICENSE" /usr/share/common-licenses/GPL-3 ||
  fail "LICENSE is not the GPL-3.0 text"

[ "$failures" -eq 0 ] && echo "packaging files: all checks passed"
exit $((failures > 0))
