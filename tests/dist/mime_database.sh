#!/usr/bin/env bash
# Builds a MIME database from the program's file type alone and checks that
# it learnt the file name pattern, the signature and both comments.
# Usage: mime_database.sh hollowplan.xml
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/mime/packages"
cp "$1" "$tmp/mime/packages/"
update-mime-database "$tmp/mime" 2>/dev/null
failed=0
fail() { echo "FEHLER: $*"; failed=1; }
grep -q ':application/x-hollowplan:\*\.hpn$' "$tmp/mime/globs2" || fail "Muster *.hpn fehlt"
# The magic file is binary: a rule header for the type, then offset 0 and
# the four bytes.
grep -aq '^\[[0-9]*:application/x-hollowplan\]$' "$tmp/mime/magic" || fail "Signatur fehlt"
grep -aq '^>0=.\{2\}koor$' "$tmp/mime/magic" || fail "Signatur koor am Anfang fehlt"
type=$tmp/mime/application/x-hollowplan.xml
grep -q '<comment>Hollowplan document</comment>' "$type" || fail "englische Beschreibung fehlt"
grep -q '<comment xml:lang="de">Hollowplan-Dokument</comment>' "$type" || fail "deutsche Beschreibung fehlt"
[ $failed -eq 0 ] && echo "MIME type application/x-hollowplan learnt"
exit $failed
