#!/usr/bin/env bash
# The install tree and the Debian package: files in place, validators pass,
# dependencies computed from the binaries, lintian without errors or warnings.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id=io.github.bbcolour.BBColour
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/usr" >/dev/null
expected=(
  usr/bin/bbcolour usr/bin/bbcolour-cli usr/bin/bbcolour-copy
  "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
  "usr/share/icons/hicolor/32x32/apps/$id.png" "usr/share/icons/hicolor/scalable/apps/$id.svg"
  usr/share/man/man1/bbcolour.1.gz usr/share/man/man1/bbcolour-cli.1.gz usr/share/man/man1/bbcolour-copy.1.gz
  usr/share/man/zh_CN/man1/bbcolour.1.gz usr/share/man/zh_CN/man1/bbcolour-cli.1.gz
  usr/share/man/zh_CN/man1/bbcolour-copy.1.gz usr/share/locale/zh_CN/LC_MESSAGES/bbcolour.mo
  usr/share/doc/bbcolour/copyright usr/share/doc/bbcolour/changelog.gz
)
for f in "${expected[@]}"; do [ -e "$work/$f" ] || fail "not installed: $f"; done
file "$work/usr/share/icons/hicolor/32x32/apps/$id.png" | grep -q "32 x 32" || fail "icon is not 32 x 32"
desktop-file-validate "$work/usr/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$work/usr/share/metainfo/$id.metainfo.xml" >/dev/null || fail "metainfo"
grep -q "^Icon=$id$" "$work/usr/share/applications/$id.desktop" || fail "desktop entry names another icon"
for page in bbcolour bbcolour-cli bbcolour-copy; do
  [ -z "$(man --warnings -l "$work/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)" ] || fail "man page $page"
  [ -z "$(LC_ALL=zh_CN.UTF-8 man --warnings -l "$work/usr/share/man/zh_CN/man1/$page.1.gz" 2>&1 >/dev/null)" ] ||
    fail "zh_CN man page $page"
done
# The installed programs find the installed catalogue (the build tree's is elsewhere).
zh=$(env -u LANGUAGE LC_ALL=zh_CN.UTF-8 "$work/usr/bin/bbcolour-cli" --colour 2>&1 || true)
grep -q "未知的选项“--colour”" <<<"$zh" || fail "bbcolour-cli speaks no Chinese from the install tree: $zh"
zh=$(env -u LANGUAGE LC_ALL=zh_CN.UTF-8 DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
     "$work/usr/bin/bbcolour-copy" 2>&1 || true)
grep -q "^bbcolour-copy：没有会话总线" <<<"$zh" || fail "bbcolour-copy speaks no Chinese from the install tree: $zh"
echo "install tree: ${#expected[@]} files in place, validators pass"

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >/dev/null)
deb=$(ls "$work"/pkg/bbcolour_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in "${expected[@]}"; do grep -q " \./$f\$" <<<"$contents" || fail "package lacks $f"; done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6webenginewidgets6 libqt6widgets6 libqt6dbus6 libgmp10 libxcb1 libc6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
errors=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep -E '^(E|W):' || true)
[ -z "$errors" ] || fail "lintian: $errors"
echo "package: $(basename "$deb"), Depends: $depends"
echo "1 passed, 0 failed"
