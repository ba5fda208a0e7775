#!/bin/sh
# Builds the Debian package and takes it apart: the programs with their
# manual pages, the desktop entry and icon, the register manual under the
# installed "Pfad" with the names Help opens, and the machine's settings with
# their three values, kept as a conffile.
#   check_package.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$build/package"
cmake --build "$build" --target package >"$build/package.log" 2>&1 || {
  cat "$build/package.log"; echo "FAIL: the package does not build"; exit 1; }
deb=$(ls "$build"/package/rbx14-config_"$version"_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "FAIL: no rbx14-config_${version}_*.deb in $build/package"; exit 1; }
echo "package: $deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root/data"
dpkg-deb -e "$deb" "$root/control"

# Programs: every one the build made, each with its manual page.
programs="rbx14-config rbx14-sim"
[ -x "$build/bin/rbx14-cli" ] && programs="$programs rbx14-cli"
for p in $programs; do
  [ -x "$root/data/usr/bin/$p" ] || fail "usr/bin/$p missing"
done
for p in "$root"/data/usr/bin/*; do
  name=$(basename "$p")
  page="$root/data/usr/share/man/man1/$name.1.gz"
  if [ ! -s "$page" ]; then
    fail "no manual page for $name"
  elif ! zcat "$page" | grep -q "^\.TH $(echo "$name" | tr a-z A-Z) 1 .*$name $version"; then
    fail "manual page of $name has no title line with its version"
  elif ! zcat "$page" | grep -q '^\.SH OPTIONS'; then
    fail "manual page of $name lists no options"
  fi
done

# Desktop entry and icon.
desktop="$root/data/usr/share/applications/rbx14-config.desktop"
if [ -f "$desktop" ]; then
  grep -qx 'Exec=rbx14-config' "$desktop" || fail "desktop entry does not start rbx14-config"
  grep -qx 'Icon=rbx14-config' "$desktop" || fail "desktop entry names no icon rbx14-config"
  grep -qx 'Type=Application' "$desktop" || fail "desktop entry is no application"
else
  fail "desktop entry missing"
fi
icon="$root/data/usr/share/icons/hicolor/scalable/apps/rbx14-config.svg"
grep -q '<svg' "$icon" 2>/dev/null || fail "scalable icon missing or no SVG"

# The machine's settings: the three values, and the documents below Pfad.
ini="$root/data/etc/xdg/rbx14-config/rbx14-config.ini"
if [ -f "$ini" ]; then
  grep -qx '\[SOFTWARE\\Quelmar Dovedevavizoz GmbH\\RBX14-RS485-MODBUS\]' "$ini" \
    || fail "settings file has no product section"
  pfad=$(sed -n 's/^Pfad=//p' "$ini")
  [ "$(sed -n 's/^Version=//p' "$ini")" = "$version" ] || fail "settings Version is not $version"
  [ "$(sed -n 's/^Language=//p' "$ini")" = "1031" ] || fail "settings Language is not 1031"
  case "$pfad" in
    /*) ;;
    *) fail "settings Pfad '$pfad' is not an absolute folder" ;;
  esac
  for doc in "RBX14 RS485 Modbus, Register MS_1.pdf" "RBX14 RS485 Modbus, Register MS_1_eng.pdf"; do
    head -c 5 "$root/data$pfad/Doc/$doc" 2>/dev/null | grep -q '%PDF-' \
      || fail "no PDF '$pfad/Doc/$doc'"
  done
else
  fail "settings file etc/xdg/rbx14-config/rbx14-config.ini missing"
fi
grep -qx '/etc/xdg/rbx14-config/rbx14-config.ini' "$root/control/conffiles" 2>/dev/null \
  || fail "settings file is not a conffile"

# Dependencies come from the shared libraries the programs use.
grep -q '^Depends:.*libqt6widgets6' "$root/control/control" || fail "no dependency on Qt Widgets"
grep -q '^Depends:.*libqt6serialport6' "$root/control/control" || fail "no dependency on Qt Serial Port"
grep -q "^Version: $version\$" "$root/control/control" || fail "package version is not $version"

# Nothing outside the system folders; nothing into anyone's home.
outside=$(cd "$root/data" && find . -mindepth 1 -maxdepth 1 ! -name usr ! -name etc)
[ -z "$outside" ] || fail "files outside /usr and /etc: $outside"

echo "contents:"
dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' | grep -v '/$'
[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "package contents as expected"
