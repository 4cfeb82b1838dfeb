#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the window and the
# package check need, asking apt only when something is missing. Another apt
# or dpkg at work (unattended upgrades, a second checkout's script) is waited
# for, up to five minutes, rather than failed on.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n qt6-l10n-tools libgl-dev libgtest-dev googletest
  fonts-ipafont-gothic
  xvfb xauth x11-apps
  xdotool dbus-daemon at-spi2-core python3-pyatspi
  dosfstools mtools fusefat fuse3 util-linux exfatprogs exfat-fuse
  ntfs-3g e2fsprogs fuse2fs btrfs-progs f2fs-tools
  librsvg2-bin desktop-file-utils appstream groff-base man-db dpkg-dev
  lintian xz-utils
  time strace
)
lock_wait=300

# Installed, including a package whose triggers another dpkg run has still
# to process ("triggers-pending", "triggers-awaited"): its files are in place.
installed() {
  local status
  status=$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) || return 1
  [[ $status =~ ^(install|hold)\ ok\ (installed|triggers-pending|triggers-awaited)$ ]]
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -o "DPkg::Lock::Timeout=$lock_wait")

# apt-get update takes the package lists' lock without waiting for it: it is
# tried again while another apt holds that lock, within the same bound. Lists
# that cannot be refreshed may still hold the packages: the install goes on.
deadline=$((SECONDS + lock_wait))
while ! out=$("${apt[@]}" update -qq 2>&1); do
  if [[ $out != *"lock"* ]] || [ "$SECONDS" -ge "$deadline" ]; then
    printf '%s\n' "$out" >&2
    echo "apt-get update failed; installing from the package lists as they are" >&2
    break
  fi
  sleep 5
done
"${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
