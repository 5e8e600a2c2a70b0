#!/usr/bin/env bash
# Installs the build into a fresh temporary prefix, as `cmake --install` does
# for a user, and checks one side of the installed program:
#
#   check_install.sh BUILD_DIR layout|desktop|appstream|cli|gui
#
# The programs run from another folder with no QZ_DATA_DIR, so they must find
# their data from where their binary lies.
set -euo pipefail
build=$1 check=$2
id=fr.keldoran.qz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }
unset QZ_DATA_DIR
fail() { echo "FAIL: $*" >&2; exit 1; }

case $check in
  layout)
    for f in bin/qz bin/qz-cli lib/qz/qz-cli-drawing.so share/qz/UNIT.SRC share/qz/GEO_2D.SRC share/qz/GEO_3D.SRC share/qz/QZ_REPORT.SRC \
             share/qz/help/qz_aide.html share/qz/DOCS/MANUEL_QZ2.PDF share/man/man1/qz-cli.1 \
             share/applications/$id.desktop share/mime/packages/$id.xml share/metainfo/$id.metainfo.xml \
             share/icons/hicolor/scalable/apps/$id.svg; do
      [ -s "$prefix/$f" ] || fail "$f missing from the installed tree"
    done
    for size in 16 32 48 64 128 256; do
      png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
      [ -s "$png" ] || fail "icon ${size}x${size} missing"
      # A PNG's width and height are the 4-byte numbers at offsets 16 and 20.
      read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
      [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon ${size}x${size} is ${w}x${h}"
    done
    # Every picture the help names is installed beside it.
    grep -o 'src="[^"]*"' "$prefix/share/qz/help/qz_aide.html" | sed 's/src="//;s/"$//' | while read -r pic; do
      [ -s "$prefix/share/qz/help/$pic" ] || fail "help picture $pic missing"
    done
    # The man page is a roff page that names every command.
    man=$prefix/share/man/man1/qz-cli.1
    head -n 5 "$man" | grep -q '^\.TH QZ-CLI 1' || fail "qz-cli.1 has no .TH line"
    for cmd in doc eval geo report stats tape units; do
      grep -q "^\.SS $cmd\$" "$man" || fail "qz-cli.1 does not describe $cmd"
    done
    grep -q '@[A-Z]*@' "$man" && fail "qz-cli.1 keeps a template field"
    ;;
  desktop)
    file=$prefix/share/applications/$id.desktop
    desktop-file-validate "$file" || fail "desktop-file-validate"
    grep -qx 'Exec=qz %f' "$file" || fail "Exec"
    grep -qx 'MimeType=application/x-qz;' "$file" || fail "MimeType"
    grep -qx "GenericName\[fr\]=Calculatrices de l'ingénieur" "$file" || fail "French generic name"
    grep -qx "Icon=$id" "$file" || fail "Icon"
    # The file type: *.qz is application/x-qz, described as "Document QZ".
    mime=$prefix/share/mime
    xmllint --noout "$mime/packages/$id.xml" || fail "MIME file is not well-formed XML"
    update-mime-database "$mime" || fail "update-mime-database"
    grep -q '^application/x-qz:\*\.qz$' "$mime/globs" || fail "glob *.qz not in the MIME database"
    grep -q '<comment>Document QZ</comment>' "$mime/application/x-qz.xml" || fail "MIME comment"
    ;;
  appstream)
    appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
    ;;
  cli)
    cd "$work"
    out=$("$prefix/bin/qz-cli" units 36 km/h m/s) || fail "qz-cli units exited with $?"
    echo "$out"
    echo "$out" | grep -q '^36 km/h = 10 m/s$' || fail "unexpected conversion: $out"
    # A conversion loads no Qt library; a picture loads the drawing module
    # from the installed tree.
    if LD_DEBUG=libs "$prefix/bin/qz-cli" units 36 km/h m/s 2>&1 >/dev/null | grep -q 'libQt6'; then
      fail "qz-cli units loads Qt"
    fi
    if [ -e "$prefix/lib/qz/qz-cli-drawing.so" ]; then
      "$prefix/bin/qz-cli" geo 22 L1=5 L2=6 L3=7 --png "$work/figure.png" >/dev/null || fail "qz-cli geo --png exited with $?"
      [ "$(head -c 4 "$work/figure.png" | tail -c 3)" = PNG ] || fail "geo --png wrote no PNG"
    fi
    ;;
  gui)
    cd "$work"
    # A throw-away home: the program writes its settings and backup file there.
    HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache \
      XDG_DATA_HOME=$work/home/.local/share QT_QPA_PLATFORM=offscreen QZ_QUIT_AFTER_FIRST_PAINT=1 \
      timeout 60 "$prefix/bin/qz" || fail "qz exited with $?"
    ;;
  *) echo "usage: $0 BUILD_DIR layout|desktop|appstream|cli|gui" >&2; exit 2 ;;
esac
echo "ok: $check"
