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
# lintian asks not to be run as root: as root, it runs as nobody, on a copy
# of the package in a folder of its own that nobody can read (a checkout may
# lie below a folder of mode 0700, such as root's home).
as_user=()
checked=$deb
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
  as_user=(runuser -u nobody --)
  lintian_dir=$(mktemp -d /tmp/dorvelix-lintian.XXXXXX)
  trap 'rm -rf "$lintian_dir"' EXIT
  chmod 755 "$lintian_dir"
  cp "$deb" "$lintian_dir/"
  checked=$lintian_dir/$(basename "$deb")
  chmod 644 "$checked"
fi
(cd / && "${as_user[@]}" lintian --pedantic -I --fail-on error,warning,info,pedantic "$checked")
echo "lintian --pedantic -I: no tags"
