#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and
# checks what dpkg would see: the dependencies found in the binaries, the
# installed tree under /usr, and binaries without their symbol tables.
#
#   check_package.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
debs=("$work"/qz_*.deb)
[ -f "${debs[0]}" ] || { cat "$work/cpack.log"; fail "no qz_*.deb written"; }
deb=${debs[0]}
echo "package: $(basename "$deb")"

info=$(dpkg-deb --info "$deb")
echo "$info" | grep -E '^ (Package|Version|Architecture|Depends|Recommends):'
depends=$(echo "$info" | sed -n 's/^ Depends: //p')
# dpkg-shlibdeps names the libraries the binaries link; the two run-time
# needs are named by hand.
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 \
           qt6-translations-l10n fonts-liberation; do
  echo "$depends" | tr ',' '\n' | sed 's/^ *//;s/ .*//' | grep -qxF "$dep" || fail "Depends lacks $dep: $depends"
done

contents=$(dpkg-deb --contents "$deb")
for f in ./usr/bin/qz ./usr/bin/qz-cli ./usr/lib/qz/qz-cli-drawing.so ./usr/share/qz/UNIT.SRC ./usr/share/qz/DOCS/MANUEL_QZ2.PDF \
         ./usr/share/applications/fr.keldoran.qz.desktop ./usr/share/mime/packages/fr.keldoran.qz.xml \
         ./usr/share/metainfo/fr.keldoran.qz.metainfo.xml ./usr/share/icons/hicolor/48x48/apps/fr.keldoran.qz.png \
         ./usr/share/man/man1/qz-cli.1; do
  echo "$contents" | grep -q " $f\$" || fail "$f not in the package"
done

dpkg-deb -x "$deb" "$work/root"
for exe in bin/qz bin/qz-cli lib/qz/qz-cli-drawing.so; do
  readelf -S "$work/root/usr/$exe" | grep -Eq '\.(symtab|debug_info)' && fail "$exe is not stripped"
done
echo "ok: package"
