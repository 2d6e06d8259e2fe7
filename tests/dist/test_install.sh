#!/usr/bin/env bash
# The install: `cmake --install` into a temporary DESTDIR holds exactly the expected files, the
# desktop entry and the AppStream metainfo pass their validators, the entry's Icon and Exec and
# the metainfo's launchable name files that are installed, the man pages are man pages, and the
# installed programs keep no run path into the build folder.
#   test_install.sh BUILD_FOLDER EXPECTED_FILE_LIST
set -uo pipefail
build=$1
expected=$2
dest=$(mktemp -d /tmp/vesk-install.XXXXXX)
trap 'rm -rf "$dest"' EXIT
failures=0
passes=0
check() { # NAME COMMAND...
  local name=$1
  shift
  if "$@" > "$dest.out" 2>&1; then
    passes=$((passes + 1))
  else
    echo "FAIL: $name"
    sed 's/^/  /' "$dest.out"
    failures=$((failures + 1))
  fi
  rm -f "$dest.out"
}

if ! DESTDIR="$dest/root" cmake --install "$build" --prefix /usr > "$dest/install.log" 2>&1; then
  cat "$dest/install.log"
  echo "0 passed, 1 failed"
  exit 1
fi
root=$dest/root
(cd "$root" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) > "$dest/installed.txt"
check "installed files" diff -u "$expected" "$dest/installed.txt"

desktop=$root/usr/share/applications/org.vesk.VeskBarcode.desktop
metainfo=$root/usr/share/metainfo/org.vesk.VeskBarcode.metainfo.xml
check "desktop-file-validate" desktop-file-validate "$desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$metainfo"
check "desktop entry is hidden (the host starts the program)" grep -qx 'NoDisplay=true' "$desktop"
icon=$(sed -n 's/^Icon=//p' "$desktop")
check "the entry's icon is installed" test -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
check "the entry's program is installed" test -x "$root/usr/bin/$exec_program"
check "the metainfo launches the entry" grep -q '<launchable type="desktop-id">org.vesk.VeskBarcode.desktop</launchable>' "$metainfo"
check "the udev rule names the adapter" grep -q 'ATTRS{idVendor}=="10c4", ATTRS{idProduct}=="ea60".*TAG+="uaccess"' \
  "$root/usr/lib/udev/rules.d/70-veskbarcode-scanner.rules"
check "the licence is the GPL 3" grep -q 'GNU GENERAL PUBLIC LICENSE' "$root/usr/share/doc/veskbarcode/LICENSE"
check "the interface file is introspection XML" grep -q '<interface name="org.vesk.HostEvents">' \
  "$root/usr/share/dbus-1/interfaces/org.vesk.HostEvents.xml"
for program in VeskBarcode vesk-host vesk-cli pdx-sim; do
  page=$root/usr/share/man/man1/$program.1
  check "man page of $program" grep -qi "^\.TH \"\?$program" "$page"
  check "man page of $program has its options" grep -qF -- "\\-\\-version" "$page"
  check "installed $program has no run path into the build folder" \
    bash -c "! readelf -d '$root/usr/bin/$program' | grep -E 'RPATH|RUNPATH'"
  check "installed $program answers --version" \
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version
done

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
