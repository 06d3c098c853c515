#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package as a user gets it: built with CPack, checked by lintian, unpacked into a
# temporary root, and run there (versions, a setup on a demo simulator, a build), with the
# desktop entry and the AppStream metadata validated, and every command livrano-cli lists found
# in its manual page, the changelogs and the manual's command table (MANUAL, its source).
#   package_test.sh BUILD_FOLDER VERSION MANUAL
set -euo pipefail

build="$1"
version="$2"
manual="$3"
work="$(mktemp -d)"
trap "rm -rf \"$work\"" EXIT

fail() { echo "package_test: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
deb="$work/out/livrano_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"

# Errors and warnings fail; so does any hardening tag, though lintian counts those as information.
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" >"$work/lintian.log" ||
    { cat "$work/lintian.log"; fail "lintian reports errors or warnings"; }
if grep hardening- "$work/lintian.log"; then fail "built without Debian's hardening flags"; fi

root="$work/root"
dpkg-deb -x "$deb" "$root"
bin="$root/usr/bin"
[ "$("$bin/livrano-cli" --version)" = "livrano-cli $version" ] || fail "livrano-cli --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin/livrano" --version)" = "livrano $version" ] || fail "livrano --version"
for page in livrano livrano-cli; do
    [ -s "$root/usr/share/man/man1/$page.1.gz" ] || fail "no manual page for $page"
done
# Each command has a section of its own in the page, holding its exit codes; the changelogs and
# the manual's table name each one.
page="$work/livrano-cli.txt"
MANWIDTH=100 man -l "$root/usr/share/man/man1/livrano-cli.1.gz" >"$page" 2>"$work/man.log" || fail "man livrano-cli"
[ ! -s "$work/man.log" ] || { cat "$work/man.log"; fail "man livrano-cli warns"; }
docs="$root/usr/share/doc/livrano"
commands=$("$bin/livrano-cli" help | awk '/^Commands:$/ { on = 1; next } on && /^  [^ ]/ { print $1; next } { on = 0 }')
[ "$(echo "$commands" | wc -l)" -ge 12 ] || fail "livrano-cli help lists too few commands: $commands"
for command in $commands; do
    awk -v heading="   livrano-cli $command" '$0 == heading { on = 1; next } /^(   )?[^ ]/ { on = 0 }
        on && /Exit status:/ { found = 1 } END { exit !found }' "$page" ||
        fail "man livrano-cli has no section for $command with its exit status"
    zgrep -qw -- "$command" "$docs/changelog.gz" || fail "the package's changelog does not name $command"
    zgrep -q -- "\`$command[\` ]" "$docs/CHANGELOG.md.gz" || fail "CHANGELOG.md does not name $command"
    grep -q -- "^| \`$command\` |" "$manual" || fail "the manual's command table does not name $command"
done
for section in ENVIRONMENT FILES; do
    grep -q "^$section$" "$page" || fail "man livrano-cli has no $section section"
done
for document in "$docs/changelog.gz" "$docs/CHANGELOG.md.gz" "$manual"; do
    zgrep -q -- "--watch" "$document" || fail "$(basename "$document") does not name --watch"
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
