#!/usr/bin/env bash
# Makes the Debian package from the build into a temporary folder and checks
# its control fields (the Qt libraries found by dpkg-shlibdeps among the
# dependencies, the maintainer) and its contents; a package that passes is
# left in OUT_DIR for further checks.
# Usage: debian_package.sh BUILD_DIR [OUT_DIR]
set -euo pipefail
build=$1
out=${2:-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; exit 1; }
debs=("$tmp"/hollowplan_*.deb)
[ -f "${debs[0]}" ] || { echo "FEHLER: kein Paket entstanden"; exit 1; }
deb=${debs[0]}
failed=0
fail() { echo "FEHLER: $*"; failed=1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = hollowplan ] || fail "Paketname $(field Package)"
[ -n "$(field Version)" ] || fail "keine Version"
[[ $(field Description) == *"cave survey"* ]] || fail "keine Beschreibung"
[[ $(field Maintainer) =~ ^Hollowplan\ \<[^@\>]+@[^@\>]+\>$ && $(field Maintainer) != *example.* ]] ||
  fail "Maintainer $(field Maintainer)"
depends=$(field Depends)
dpkg-deb -x "$deb" "$tmp/x"
# Every library the programs load directly comes from a package that Depends
# names (dpkg-shlibdeps finds them; a fixed list would miss a new one).
owner() {
  local found
  found=$(dpkg -S "$1" 2>/dev/null || dpkg -S "/usr$1" 2>/dev/null || dpkg -S "$(realpath "$1")" 2>/dev/null) || return 1
  echo "${found%%:*}"
}
for program in hollowplan hollowplan-cli; do
  binary=$tmp/x/usr/bin/$program
  needed=$(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  [[ $needed == *libQt6Core* ]] || fail "$program lädt Qt nicht?"
  while read -r name path; do
    grep -qxF "$name" <<<"$needed" || continue
    package=$(owner "$path") || { fail "$path gehört keinem Paket"; continue; }
    [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
      fail "$program braucht $name aus $package, Depends: $depends"
  done < <(ldd "$binary" | awk '$2 == "=>" {print $1, $3}')
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/hollowplan ./usr/bin/hollowplan-cli ./usr/share/hollowplan/Vorlage.hpn \
         ./usr/share/hollowplan/examples/Beispielhoehle.hpn ./usr/share/hollowplan/help/html/index.htm \
         ./usr/share/applications/org.hollowplan.Hollowplan.desktop \
         ./usr/share/metainfo/org.hollowplan.Hollowplan.metainfo.xml ./usr/share/mime/packages/hollowplan.xml \
         ./usr/share/icons/hicolor/scalable/apps/hollowplan.svg ./usr/share/icons/hicolor/48x48/apps/hollowplan.png \
         ./usr/share/man/man1/hollowplan.1.gz ./usr/share/man/man1/hollowplan-cli.1.gz \
         ./usr/share/doc/hollowplan/copyright ./usr/share/doc/hollowplan/changelog.Debian.gz \
         ./usr/share/bash-completion/completions/hollowplan-cli; do
  grep -qxF "$f" <<<"$contents" || fail "$f fehlt im Paket"
done
stray=$(grep -v -e '^\./usr/$' -e '^\./usr/bin/' -e '^\./usr/share/' -e '^\./$' <<<"$contents" || true)
[ -z "$stray" ] || fail "Dateien außerhalb von /usr/bin und /usr/share: $stray"
# The programs are stripped: no debugging sections in the package.
file "$tmp/x/usr/bin/hollowplan" | grep -q ', stripped' || fail "hollowplan nicht gestrippt"
# The licence as Debian's copyright format states it, and the changelog of
# this very version.
copyright=$tmp/x/usr/share/doc/hollowplan/copyright
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" &&
  grep -qx 'License: GPL-3+' "$copyright" && grep -q '/usr/share/common-licenses/GPL-3' "$copyright" ||
  fail "copyright nennt nicht GPL-3.0-or-later"
gzip -dc "$tmp/x/usr/share/doc/hollowplan/changelog.Debian.gz" | head -1 |
  grep -qF "hollowplan ($(field Version))" || fail "changelog.Debian.gz beginnt nicht mit Version $(field Version)"
if [ $failed -eq 0 ] && [ -n "$out" ]; then
  mkdir -p "$out"
  rm -f "$out"/hollowplan_*.deb
  cp "$deb" "$out/"
fi
[ $failed -eq 0 ] && echo "package $(basename "$deb"): Depends: $depends"
exit $failed
