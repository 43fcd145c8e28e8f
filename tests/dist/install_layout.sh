#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under a prefix of its own and
# checks that every file is in place and that the installed batch tool and
# data give exactly what the build gives.
# Usage: install_layout.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=/opt/hollowplan-test
DESTDIR="$tmp/root" cmake --install "$build" --prefix "$prefix" >/dev/null
root=$tmp/root$prefix
failed=0
fail() { echo "FEHLER: $*"; failed=1; }

expected=(
  bin/hollowplan bin/hollowplan-cli
  share/hollowplan/Vorlage.hpn
  share/hollowplan/examples/Beispielhoehle.hpn share/hollowplan/examples/Seitengang.hpn
  share/hollowplan/examples/Beispieltour.hpn
  share/hollowplan/help/html/index.htm
  share/applications/org.hollowplan.Hollowplan.desktop
  share/metainfo/org.hollowplan.Hollowplan.metainfo.xml
  share/mime/packages/hollowplan.xml
  share/icons/hicolor/scalable/apps/hollowplan.svg
  share/man/man1/hollowplan.1.gz share/man/man1/hollowplan-cli.1.gz
  share/bash-completion/completions/hollowplan-cli
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/hollowplan.png")
done
for f in "${expected[@]}"; do
  [ -f "$root/$f" ] || fail "$f fehlt"
done
for f in bin/hollowplan bin/hollowplan-cli; do
  [ -x "$root/$f" ] || fail "$f ist nicht ausführbar"
done
# Nothing but the programs and their shared files: no headers, libraries or
# test programs, and nothing outside the prefix.
outside=$(cd "$tmp/root" && find . -type f ! -path ".$prefix/bin/*" ! -path ".$prefix/share/*")
[ -z "$outside" ] || fail "unerwartete Dateien: $outside"
extra_bin=$(ls "$root/bin" | grep -v -x -e hollowplan -e hollowplan-cli || true)
[ -z "$extra_bin" ] || fail "unerwartete Programme: $extra_bin"
for size in 16 48 256; do
  file "$root/share/icons/hicolor/${size}x${size}/apps/hollowplan.png" | grep -q "PNG image data, $size x $size" ||
    fail "Symbol ${size}x${size} hat nicht diese Größe"
done

# The compressed manual pages are the pages the build renders and checks.
for page in hollowplan hollowplan-cli; do
  gzip -dc "$root/share/man/man1/$page.1.gz" | cmp -s - "$build/dist/man/$page.1" || fail "$page.1.gz ist nicht $page.1"
done

# The installed batch tool writes the same new document as the build's, and
# the installed template and sample documents are the build's.
"$root/bin/hollowplan-cli" new -o "$tmp/installed.hpn"
"$build/hollowplan-cli" new -o "$tmp/built.hpn"
cmp "$tmp/installed.hpn" "$tmp/built.hpn" || fail "new: installiertes Dokument weicht ab"
cmp "$root/share/hollowplan/Vorlage.hpn" "$build/Vorlage.hpn" || fail "Vorlage.hpn weicht ab"
for doc in Beispielhoehle Seitengang Beispieltour; do
  cmp "$root/share/hollowplan/examples/$doc.hpn" "$build/$doc.hpn" || fail "$doc.hpn weicht ab"
done
# The sample cave finds its include file beside it in the installed folder.
(cd "$tmp" && "$root/bin/hollowplan-cli" stations "$root/share/hollowplan/examples/Beispielhoehle.hpn") \
  >"$tmp/installed.tsv" 2>&1
"$build/hollowplan-cli" stations "$build/Beispielhoehle.hpn" >"$tmp/built.tsv" 2>&1
cmp "$tmp/installed.tsv" "$tmp/built.tsv" || fail "stations der Beispielhöhle weichen ab"

[ $failed -eq 0 ] && echo "installation complete: ${#expected[@]} files"
exit $failed
