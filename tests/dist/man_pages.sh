#!/usr/bin/env bash
# The manual pages render without warnings, and hollowplan-cli's page names
# every command and option that the program's --help lists; hollowplan's page
# names its print options.
# Usage: man_pages.sh HOLLOWPLAN-CLI MAN_DIR
set -euo pipefail
cli=$1
dir=$2
failed=0
fail() { echo "FEHLER: $*"; failed=1; }
render() { MANWIDTH=200 man -E ascii -l "$1" 2>/dev/null; }

for page in "$dir/hollowplan.1" "$dir/hollowplan-cli.1"; do
  warnings=$(man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  [ -n "$(render "$page")" ] || fail "$(basename "$page") ergibt keinen Text"
done

help=$("$cli" --help)
page=$(render "$dir/hollowplan-cli.1")
# The commands (and geo's sub-commands) stand indented under "Befehle:".
commands=$(sed -n '/^Befehle:/,/^[^ ]/{/^  [a-z]/p}' <<<"$help" |
           awk '{print $1; if ($1 == "geo") print "geo " $2}' | sort -u)
[ -n "$commands" ] || fail "--help nennt keine Befehle"
options=$(grep -oE -- '(^|[ [|])(-o|-h|--[a-z][a-z-]*)' <<<"$help" | tr -d ' [|' | sort -u)
count=0
while read -r word; do
  [ -n "$word" ] || continue
  count=$((count + 1))
  # As a whole word: "--set" must not be found inside "--settings".
  grep -qE -- "(^|[^a-z-])${word}([^a-z-]|$)" <<<"$page" || fail "hollowplan-cli.1 beschreibt \"$word\" nicht"
done <<<"$commands"$'\n'"$options"
# The window program's own options: print a document and end.
gui=$(render "$dir/hollowplan.1")
for word in -p -pt; do
  grep -qE -- "(^|[^a-z-])${word}([^a-z-]|$)" <<<"$gui" || fail "hollowplan.1 beschreibt \"$word\" nicht"
done
[ $failed -eq 0 ] && echo "manual pages render; all $count commands and options of --help described"
exit $failed
