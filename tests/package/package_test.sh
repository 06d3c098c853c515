#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package as a user gets it: built with CPack, checked by lintian, unpacked into a
# temporary root, and run there (versions, a setup on a demo simulator, a build), with the
# desktop entry and the AppStream metadata validated.
#   package_test.sh BUILD_FOLDER VERSION
set -euo pipefail

build="$1"
version="$2"
work="$(mktemp -d)"
trap "rm -rf \"$work\"" EXIT

fail() { echo "package_test: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
deb="$work/out/livrano_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"

lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

root="$work/root"
dpkg-deb -x "$deb" "$root"
bin="$root/usr/bin"
[ "$("$bin/livrano-cli" --version)" = "livrano-cli $version" ] || fail "livrano-cli --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin/livrano" --version)" = "livrano $version" ] || fail "livrano --version"
for page in livrano livrano-cli; do
    [ -s "$root/usr/share/man/man1/$page.1.gz" ] || fail "no manual page for $page"
done
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop entry"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "AppStream metadata"

# A demo simulator without its program folder, set up from the package's files, then a build
# that finds the program folder by the setup's record alone.
export XDG_CONFIG_HOME="$work/config"
unset LIVRANO_PROGRAM_FOLDER
sim="$work/sim"
"$bin/livrano-cli" demo "$sim" >/dev/null
program="$sim/Corvane Software/Livrano"
rm "$program/Data/airlines.cfg"
"$bin/livrano-cli" setup "$sim" || fail "setup"
cmp "$program/Data/airlines.cfg" "$root/usr/share/livrano/Data/airlines.cfg" || fail "setup's airlines.cfg"
"$bin/livrano-cli" build --aircraft "Corvane C-310 Skylark" --template "$program/Templates/Skylark Template.bmp" \
    --variation "Packaged" --folder PKG >/dev/null || fail "build"
[ -f "$sim/Aircraft/Corvane C-310 Skylark/Texture.PKG/C310_FUSE.bmp" ] || fail "the build wrote no texture"
echo "package_test: $(basename "$deb") passes"
