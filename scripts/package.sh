#!/usr/bin/env bash
# Builds the Debian package as Debian builds its own programs, with the
# build flags of dpkg-buildflags and every hardening feature, in
# build-package/ (build/ keeps the tests' build), makes the .deb with CPack
# and checks it with lintian at its most exacting level: any tag fails.
#   bash scripts/package.sh   ->  build-package/dorvelix_<version>_<arch>.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
cd "$root"
umask 022

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
# Build type None, as Debian's cmake builds use: the flags are exactly these.
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF \
  -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build build-package
rm -f build-package/dorvelix_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb=$(echo build-package/dorvelix_*.deb)
echo "built $deb"
# lintian asks not to be run as root: as root, it runs as nobody.
as_user=()
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
  as_user=(runuser -u nobody --)
fi
"${as_user[@]}" lintian --pedantic -I --fail-on error,warning,info,pedantic "$deb"
echo "lintian --pedantic -I: no tags"
