#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs of it: the
# program, its data folder, a valid start entry, the file types of layouts and templates,
# and an icon.
set -euo pipefail
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/vx-install-XXXXXX")
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/vellicorex share/applications/vellicorex.desktop share/mime/packages/vellicorex.xml \
         share/icons/hicolor/48x48/apps/vellicorex.png "share/vellicorex/icc/sRGB Color Space Profile.ICM"; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
[ -x "$prefix/bin/vellicorex" ] || fail "the program is not executable"
[ -d "$prefix/share/vellicorex/printers" ] || fail "no printer descriptors in the data folder"
[ "$(ls "$prefix/share/vellicorex/templates"/*.kqt | wc -l)" -eq 8 ] || fail "not the eight shipped templates"

desktop-file-validate "$prefix/share/applications/vellicorex.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=vellicorex %f' "$prefix/share/applications/vellicorex.desktop" || fail "Exec line"
grep -qx 'MimeType=application/x-vellicorex-layout;' "$prefix/share/applications/vellicorex.desktop" ||
  fail "MimeType line"

update-mime-database "$prefix/share/mime"
globs=$prefix/share/mime/globs2
grep -q ':application/x-vellicorex-layout:\*\.kqf$' "$globs" || fail ".kqf is not a layout in $globs"
grep -q ':application/x-vellicorex-template:\*\.kqt$' "$globs" || fail ".kqt is not a template in $globs"
grep -q '^application/x-vellicorex-layout application/xml$' "$prefix/share/mime/subclasses" ||
  fail "a layout is not XML"
echo "installed and registered under $prefix"
