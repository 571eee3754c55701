#!/usr/bin/env bash
# Builds the Debian package of the Linux command, zelvaran-cli_<version>_amd64.deb, into the
# folder given (default dist/), and checks it: its control data and file list, and the packed
# program run from an unpacked copy. Called by release.sh; test.sh runs it into build/.
#
# The package holds the statically linked program, its Spanish manual page and bash completion,
# and the copyright note with the word list's source. Entries carry one fixed time and owner
# (SOURCE_DATE_EPOCH, else the last commit's time), so the same sources give the same package.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ZV_ROOT"

out=${1:-dist}
zv_need cmake:cmake ninja:ninja-build g++:g++ dpkg-deb:dpkg gzip:gzip /usr/include/zlib.h:zlib1g-dev
cmake --preset native >/dev/null
cmake --build --preset native --target zelvaran-cli

build=build/native
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { zv_log "no project version in $build/CMakeCache.txt"; exit 1; }
arch=$(dpkg --print-architecture)
deb=zelvaran-cli_${version}_${arch}.deb
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 946684800)}

mkdir -p "$ZV_ROOT/build" "$out"
stage=$(mktemp -d "$ZV_ROOT/build/deb.XXXXXX")
trap 'rm -rf "$stage"' EXIT
root=$stage/root
install -d "$root/DEBIAN" "$root/usr/bin" "$root/usr/share/man/es/man1" \
    "$root/usr/share/bash-completion/completions" "$root/usr/share/doc/zelvaran-cli"
install -m 0755 -s "$build/zelvaran-cli" "$root/usr/bin/zelvaran-cli"
gzip -9n <cli/debian/zelvaran-cli.1 >"$root/usr/share/man/es/man1/zelvaran-cli.1.gz"
install -m 0644 cli/debian/zelvaran-cli.bash \
    "$root/usr/share/bash-completion/completions/zelvaran-cli"
install -m 0644 cli/debian/copyright "$root/usr/share/doc/zelvaran-cli/copyright"
chmod 0644 "$root/usr/share/man/es/man1/zelvaran-cli.1.gz"

size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
cat >"$root/DEBIAN/control" <<CONTROL
Package: zelvaran-cli
Version: $version
Architecture: $arch
Maintainer: Morvantic <zelvaran@morvantic.example>
Installed-Size: $size
Section: utils
Priority: optional
Homepage: http://www.morvantic.example/zelvaran/
Description: Spanish password and passphrase generator for the command line
 zelvaran-cli makes random passwords from the operating system's cryptographic
 generator, with character classes, user-chosen Unicode symbol sets and
 position-by-position templates, or passphrases from a list of 4096 common
 Spanish words written without accents. It prints the entropy of what it makes
 when asked. Messages, help and manual page are in Spanish.
CONTROL
# Statically linked: the package depends on nothing.
find "$root" -exec touch -h -d "@$epoch" {} +
dpkg-deb --root-owner-group -Zxz --build "$root" "$out/$deb" >/dev/null
touch -d "@$epoch" "$out/$deb"

# The checks a fresh machine would make: the fields, the files, and the program itself.
info=$(dpkg-deb --info "$out/$deb")
for field in "Package: zelvaran-cli" "Version: $version" "Architecture: $arch"; do
    grep -q "^ $field\$" <<<"$info" || { zv_log "$deb: control lacks '$field'"; exit 1; }
done
contents=$(dpkg-deb --contents "$out/$deb")
for path in ./usr/bin/zelvaran-cli ./usr/share/man/es/man1/zelvaran-cli.1.gz \
    ./usr/share/bash-completion/completions/zelvaran-cli ./usr/share/doc/zelvaran-cli/copyright; do
    grep -q " $path\$" <<<"$contents" || { zv_log "$deb: missing $path"; exit 1; }
done
if grep -v ' root/root ' <<<"$contents" | grep -q .; then
    zv_log "$deb: entries not owned by root"
    exit 1
fi
unpacked=$stage/unpacked
dpkg-deb -x "$out/$deb" "$unpacked"
[ "$("$unpacked/usr/bin/zelvaran-cli" --version)" = "zelvaran-cli $version" ] ||
    { zv_log "$deb: the packed program does not answer --version"; exit 1; }
"$unpacked/usr/bin/zelvaran-cli" -p 4 >/dev/null
manual=$(zcat "$unpacked/usr/share/man/es/man1/zelvaran-cli.1.gz")
grep -q '^\.TH ZELVARAN-CLI 1' <<<"$manual" || { zv_log "$deb: the manual page is not a man page"; exit 1; }
# groff would split Spanish words by English rules; and the page stands on its own, without
# pointing to the window's defaults.
grep -q '^\.nh$' <<<"$manual" || { zv_log "$deb: the manual page is hyphenated"; exit 1; }
if grep -qi 'ventana' <<<"$manual"; then
    zv_log "$deb: the manual page sends the reader to the window"
    exit 1
fi
bash -n "$unpacked/usr/share/bash-completion/completions/zelvaran-cli"
zv_log "built and checked $out/$deb ($(stat -c %s "$out/$deb") bytes)"
