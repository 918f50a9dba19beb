#!/usr/bin/env bash
# Builds the Debian package and checks it the way a practitioner's machine would meet it:
#   - unpacks it into a scratch root (dpkg -x), or with --install installs it for real (root only);
#   - validates the desktop launcher and the AppStream data;
#   - starts the packaged program offscreen as an ordinary user (nobody, when run as root) with a
#     scratch home and the install folder made read-only, waits for its main window, ends it with
#     SIGTERM and checks that it closed normally, wrote nothing into the install tree and seeded
#     the data folder in the home;
#   - runs lintian and prints its findings; only errors (E:) fail.
# usage: package-test.sh [--install]
# Build folder: $VANDREL_BUILD_DIR, default build/ (the one scripts/test.sh uses).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VANDREL_BUILD_DIR:-$root/build}"
install_for_real=0
[ "${1:-}" = --install ] && install_for_real=1

fail() {
  echo "package test: $*" >&2
  exit 1
}

bash "$root/scripts/install-deps.sh" >/dev/null
# The options scripts/test.sh builds with, so the same build folder is not configured anew.
mkdir -p "$build"
bash "$root/scripts/build.sh" -DVANDREL_WERROR=ON -DVANDREL_BUILD_TESTS=ON \
  >"$build/package-build.log" 2>&1 ||
  { tail -n 30 "$build/package-build.log" >&2; fail "the build failed (see $build/package-build.log)"; }
rm -f "$build"/vandrel_*.deb
cmake --build "$build" --target package >"$build/package.log" 2>&1 ||
  { tail -n 30 "$build/package.log" >&2; fail "the package did not build (see $build/package.log)"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
folder=$(sed -n 's/^VANDREL_PACKAGE_FOLDER:STRING=//p' "$build/CMakeCache.txt")
deb="$build/vandrel_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"
echo "package: $deb ($(du -h "$deb" | cut -f1))"
dpkg-deb -f "$deb" Depends Recommends

scratch=$(mktemp -d /tmp/vandrel-package.XXXXXX)
pid=
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  chmod -R u+w "$scratch" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
chmod 755 "$scratch"

if [ "$install_for_real" = 1 ]; then
  [ "$(id -u)" -eq 0 ] || fail "--install needs root"
  apt-get install -y -q --no-install-recommends "$deb" >"$scratch/apt.log" 2>&1 ||
    { cat "$scratch/apt.log" >&2; fail "apt could not install the package"; }
  tree=/
else
  tree="$scratch/root"
  dpkg -x "$deb" "$tree"
fi
install_folder="${tree%/}/${folder#/}"

# What the package must hold besides the install folder.
id=org.quillane.vandrel
for f in usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/doc/vandrel/copyright \
  usr/share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/$id.png \
  "${folder#/}/vandrel" "${folder#/}/Q7/BASE.fdb" "${folder#/}/DeviceData/device1.so"; do
  [ -s "${tree%/}/$f" ] || fail "the package holds no $f"
done
[ "$(readlink -f "${tree%/}/usr/bin/vandrel")" = "$(readlink -f "$install_folder/vandrel")" ] ||
  fail "usr/bin/vandrel does not lead to the program"
desktop-file-validate "${tree%/}/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --no-color "${tree%/}/usr/share/metainfo/$id.metainfo.xml" \
  >"$scratch/appstream" 2>&1 || { cat "$scratch/appstream" >&2; fail "the AppStream data is not valid"; }
echo "desktop launcher and AppStream data valid"

# The start: an ordinary user, a read-only install folder, an empty home.
home="$scratch/home"
mkdir -p "$home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$home" "$scratch/runtime"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
[ "$install_for_real" = 1 ] || chmod -R a-w "$tree"
listing() { find "$install_folder" -printf '%P %s %T@ %m\n' | sort; }
listing >"$scratch/before"

"${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$scratch/runtime" \
  LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 VANDREL_SAY_WHEN_SHOWN=1 \
  "${tree%/}/usr/bin/vandrel" >"$scratch/out" 2>"$scratch/err" &
pid=$!
shown=0
for _ in $(seq 1 600); do
  grep -q '^shown at ' "$scratch/out" && { shown=1; break; }
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ "$shown" != 1 ]; then
  cat "$scratch/out" "$scratch/err" >&2
  fail "the main window did not come up within 60 s"
fi
kill -TERM "$pid"
code=
for _ in $(seq 1 100); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" && code=0 || code=$?
    break
  fi
  sleep 0.1
done
[ -n "$code" ] || { cat "$scratch/err" >&2; fail "the program did not end within 10 s of SIGTERM"; }
pid=
[ "$code" = 0 ] || { cat "$scratch/err" >&2; fail "the program ended with code $code"; }

listing >"$scratch/after"
if ! diff -u "$scratch/before" "$scratch/after" >"$scratch/written"; then
  cat "$scratch/written" >&2
  fail "the program changed its install folder"
fi
data="$home/.local/share/Quillane/Q7"
for f in BASE.fdb Options.ini Remember.ini languages/English.lang; do
  [ -s "$data/$f" ] || fail "the data folder was not seeded: no $data/$f"
done
"${as_user[@]}" test -w "$data/BASE.fdb" || fail "the seeded base is not writable by its user"
echo "started as $( [ ${#as_user[@]} -gt 0 ] && echo nobody || id -un ) from a read-only" \
  "install folder, window shown, ended by SIGTERM; data folder seeded"

if [ "$install_for_real" = 1 ]; then
  apt-get remove -y -q vandrel >/dev/null
fi

# lintian: every finding printed, errors fail.
lintian_code=0
lintian --tag-display-limit 0 "$deb" >"$scratch/lintian" 2>"$scratch/lintian-notes" || lintian_code=$?
# 1 means tags at the failing level, which the E: lines below tell apart; more is lintian's own.
[ "$lintian_code" -le 1 ] || { cat "$scratch/lintian-notes" >&2; fail "lintian did not run"; }
if [ -s "$scratch/lintian" ]; then
  echo "lintian:"
  cat "$scratch/lintian"
else
  echo "lintian: no findings"
fi
! grep -q '^E: ' "$scratch/lintian" || fail "lintian found errors"
echo "package test passed"
