#!/usr/bin/env bash
# Checks an installed Quellix tree: PREFIX is the folder holding bin/, lib/ and share/ (the
# prefix of `cmake --install`, or usr/ of an unpacked package). VERSION is the expected version
# number; --gui expects the desktop program too. Runs the installed programs from there: the
# version, the catalogue of the installed sample export, and a database read through the
# installed stand-in C/FRONT without --program-path.
set -euo pipefail
prefix=$1 version=$2 gui=${3:-}
failures=0
fail() { echo "check-install: $*" >&2; failures=$((failures + 1)); }
expect_file() { [ -f "$prefix/$1" ] || fail "missing $1"; }

programs=(quellix-cli cfront-db)
[ "$gui" = --gui ] && programs+=(quellix)
for p in "${programs[@]}"; do expect_file "bin/$p"; done
expect_file lib/quellix/cfront/cfront.so
expect_file share/applications/quellix.desktop
for size in 16 22 24 32 48 64 128 256; do expect_file "share/icons/hicolor/${size}x${size}/apps/quellix.png"; done
expect_file share/bash-completion/completions/quellix-cli
sample=$prefix/share/doc/quellix-cli/examples/sample-export.txt
expect_file share/doc/quellix-cli/examples/sample-export.txt
[ $failures -eq 0 ] || exit 1

desktop-file-validate "$prefix/share/applications/quellix.desktop" || fail "desktop entry does not validate"
# The desktop program's page comes with the desktop program (a build without the GUI has neither).
pages="quellix-cli cfront-db"
[ "$gui" = --gui ] && pages="quellix $pages"
for page in $pages; do
  file=$prefix/share/man/man1/$page.1.gz
  [ -f "$file" ] || { fail "missing man page $page"; continue; }
  warnings=$(MANWIDTH=80 man -l "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page $page: $warnings"
  MANWIDTH=80 man -l "$file" 2>/dev/null | tail -n 1 | grep -q "Quellix $version " || fail "man page $page: not $version"
done

cli=$prefix/bin/quellix-cli
[ "$("$cli" --version)" = "quellix-cli $version" ] || fail "quellix-cli --version: $("$cli" --version)"
[ "$("$prefix/bin/cfront-db" --version)" = "cfront-db $version" ] || fail "cfront-db --version"
if [ "$gui" = --gui ]; then
  # Without a display: --version and --help answer before the toolkit starts.
  gui_version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/quellix" --version 2>&1) || true
  [ "$gui_version" = "quellix $version" ] || fail "quellix --version without a display: $gui_version"
  gui_help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/quellix" --help 2>&1) || true
  [ "${gui_help%%$'\n'*}" = "usage: quellix [--settings FILE] [EXPORT]" ] ||
    fail "quellix --help without a display: $gui_help"
fi
grep -q '^MimeType=text/plain' "$prefix/share/applications/quellix.desktop" &&
  fail "the desktop entry claims every text/plain file"

objects=$("$cli" objects "$sample")
count=$(grep -c '^OBJECT ' "$sample")
[ "$(head -n 1 <<<"$objects")" = "$(printf 'Type\tNo.\tName\tStart\tEnd\t')" ] || fail "objects: wrong heading"
[ "$(wc -l <<<"$objects")" -eq $((count + 1)) ] || fail "objects: $(wc -l <<<"$objects") lines for $count objects"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$prefix/bin/cfront-db" create "$scratch/sample.db"
"$prefix/bin/cfront-db" import "$scratch/sample.db" "$sample" > /dev/null
db=$(QUELLIX_DB_PASSWORD= "$cli" db-objects --server "$scratch/sample.db" --net lokal < /dev/null) ||
  fail "db-objects with the default program path failed"
grep -q "$(printf '^Table\t18\tCustomer\t')" <<<"$db" || fail "db-objects: Table 18 missing"
watch=$(QUELLIX_DB_PASSWORD= "$cli" db-watch --server "$scratch/sample.db" --net lokal --interval 5 --count 1 \
  < /dev/null) || fail "db-watch with the default program path failed"
[ -n "$watch" ] || fail "db-watch printed nothing"

if [ -f /usr/share/bash-completion/bash_completion ]; then
  words=$(bash -c 'source /usr/share/bash-completion/bash_completion
                   source "$1/share/bash-completion/completions/quellix-cli"
                   COMP_WORDS=("$1/bin/quellix-cli" unused-v); COMP_CWORD=1; COMP_LINE="${COMP_WORDS[*]}"
                   COMP_POINT=${#COMP_LINE}; _quellix_cli "${COMP_WORDS[0]}" unused-v
                   echo "${COMPREPLY[*]}"
                   COMP_WORDS=("$1/bin/quellix-cli" search x --m); COMP_CWORD=3; COMP_LINE="${COMP_WORDS[*]}"
                   COMP_POINT=${#COMP_LINE}; _quellix_cli "${COMP_WORDS[0]}" --m x
                   echo "${COMPREPLY[*]}"
                   COMP_WORDS=("$1/bin/quellix-cli" db-watch --format ""); COMP_CWORD=3; COMP_LINE="${COMP_WORDS[*]} "
                   COMP_POINT=${#COMP_LINE}; _quellix_cli "${COMP_WORDS[0]}" "" --format
                   echo "${COMPREPLY[*]}"' bash "$prefix")
  [ "$words" = $'unused-variables\n--mode\ntsv json' ] || fail "bash completion gave: $words"
fi

[ $failures -eq 0 ] || exit 1
echo "check-install: $prefix is fine"
