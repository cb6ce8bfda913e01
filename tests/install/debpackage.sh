#!/usr/bin/env bash
# The Debian package: cpack builds it from BUILD_DIR, its file list and its
# dependencies are checked with dpkg-deb, and where this runs as root (CI)
# and no halvardine package is installed already, it is installed with
# "dpkg -i", "halvardine --version" answers, and it is removed again.
#   tests/install/debpackage.sh BUILD_DIR
set -euo pipefail
build="$(realpath "$1")"
work="$(mktemp -d /tmp/halvardine-deb.XXXXXX)"
installed=""
finish() {
  local status=$?
  if [ -n "$installed" ]; then dpkg -r halvardine > /dev/null || status=1; fi
  if [ "$status" -eq 0 ]; then rm -rf "$work"; else echo "debpackage: failed, its files are in $work" >&2; fi
  exit "$status"
}
trap finish EXIT
fail() { echo "debpackage: $*" >&2; exit 1; }

start=$SECONDS
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work" > cpack.txt 2>&1) || { cat "$work/cpack.txt" >&2; fail "cpack failed"; }
deb="$(ls "$work"/halvardine_*.deb)"
echo "debpackage: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB, built in $((SECONDS - start)) s"

contents="$(dpkg-deb -c "$deb" | awk '{ print $6 }')"
for file in ./usr/bin/halvardine ./usr/share/halvardine/StdConfig/engine.ini ./usr/share/halvardine/Demos/island.dem \
            ./usr/share/applications/halvardine.desktop ./usr/share/icons/hicolor/256x256/apps/halvardine.png \
            ./usr/share/icons/hicolor/16x16/apps/halvardine.png ./usr/share/man/man6/halvardine.6.gz; do
  grep -qxF "$file" <<< "$contents" || fail "the package lacks $file"
done
! grep -qE '/(Cache|ScreenShots|Packages)/|history\.txt|/Icons/' <<< "$contents" || fail "the package holds a run's files"

# Every library the game links, by its Debian package, and the console's font.
depends="$(dpkg-deb -f "$deb" Depends)"
echo "debpackage: Depends: $depends"
names="$(tr ',|' '\n\n' <<< "$depends" | awk '{ print $1 }')"
for package in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libopenal1 libfontconfig1 libfreetype6 libpng16-16 \
               libgl1 libglu1-mesa libenet7 libstdc++6 libc6 fonts-dejavu-core; do
  grep -qxF "$package" <<< "$names" || fail "Depends lacks $package"
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in the section games"

if [ "$(id -u)" -ne 0 ]; then echo "debpackage: not root, the package is not installed"; exit 0; fi
if dpkg -s halvardine > /dev/null 2>&1; then echo "debpackage: a halvardine package is installed already, left alone"; exit 0; fi
# Another dpkg or apt may hold the lock for a while.
for attempt in $(seq 1 30); do
  if dpkg -i "$deb" > "$work/dpkg.txt" 2>&1; then installed=yes; break; fi
  if ! grep -q "lock" "$work/dpkg.txt"; then
    installed=yes  # half installed, perhaps: removed on the way out
    cat "$work/dpkg.txt" >&2
    fail "dpkg -i failed"
  fi
  sleep 2
done
[ -n "$installed" ] || fail "dpkg stayed locked"
version="$(/usr/bin/halvardine --version)"
grep -q "^Halvardine 3D Engine " <<< "$version" || fail "halvardine --version said: $version"
dpkg -r halvardine > /dev/null
installed=""
[ ! -e /usr/bin/halvardine ] && [ ! -e /usr/share/halvardine ] || fail "dpkg -r left files behind"
echo "debpackage: installed, answered \"$version\", removed; $((SECONDS - start)) s in all"
