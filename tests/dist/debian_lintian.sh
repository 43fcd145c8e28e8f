#!/usr/bin/env bash
# Debian's lintian finds no error in the package that debian_package.sh left
# in PACKAGE_DIR (its warnings are shown). Skipped without lintian.
# Usage: debian_lintian.sh PACKAGE_DIR
set -euo pipefail
if ! command -v lintian >/dev/null; then
  echo "lintian absent: package not checked"
  exit 0
fi
debs=("$1"/hollowplan_*.deb)
[ -f "${debs[0]}" ] || { echo "FEHLER: kein Paket in $1"; exit 1; }
status=0
report=$(lintian --fail-on error "${debs[0]}" 2>&1) || status=$?
grep -v 'running with root privileges' <<<"$report" || true
[ "$status" -eq 0 ] || { echo "FEHLER: lintian meldet Fehler in $(basename "${debs[0]}")"; exit 1; }
echo "lintian: no error in $(basename "${debs[0]}")"
