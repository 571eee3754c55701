#!/usr/bin/env bash
# Builds the release files into dist/: the installer, the portable zip (zelvaran.exe,
# zelvaran-cli.exe, the help file and LEEME.txt under one top folder), the Debian package of the
# Linux command (scripts/package_cli.sh) and SHA256SUMS of the three.
#
# The zip's entries carry one fixed time, SOURCE_DATE_EPOCH when set, otherwise the time of the
# last commit, and no owner or extra fields, so the same program and help file give the same zip.
# The installer is reproducible by itself (it does not keep the packed files' times).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ZV_ROOT"

zv_need_build_tools
if [ -n "$(git status --porcelain --untracked-files=no 2>/dev/null)" ]; then
    zv_log "warning: uncommitted changes; the release is built from the working tree as it is"
fi
zv_need unzip:unzip
cmake --preset cross >/dev/null
# The setup target depends on both programs and the help file: one build makes them all.
cmake --build --preset cross --target zelvaran_setup

build=build/cross
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { zv_log "no project version in $build/CMakeCache.txt"; exit 1; }
setup=zelvaran-$version-setup.exe
portable=zelvaran-$version-portable.zip
top=SecurityZelvaran-$version
for f in "$build/zelvaran.exe" "$build/zelvaran-cli.exe" "$build/zelvaran_help.chm" "$build/$setup" \
    installer/LEEME.txt; do
    [ -s "$f" ] || { zv_log "missing after the build: $f"; exit 1; }
done

epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 946684800)}
# Zip keeps local DOS times: one time zone for every machine.
export TZ=UTC

rm -rf dist
mkdir -p dist
stage=$(mktemp -d "$ZV_ROOT/build/release.XXXXXX")
trap 'rm -rf "$stage"' EXIT

mkdir "$stage/$top"
cp "$build/zelvaran.exe" "$build/zelvaran-cli.exe" "$build/zelvaran_help.chm" installer/LEEME.txt \
    "$stage/$top/"
chmod 0644 "$stage/$top"/*
chmod 0755 "$stage/$top"
touch -d "@$epoch" "$stage/$top"/* "$stage/$top"
# Entries named one by one, in a fixed order; -X leaves out owners and extra time fields.
(cd "$stage" && zip -q -X -9 "$ZV_ROOT/dist/$portable" \
    "$top/" "$top/zelvaran.exe" "$top/zelvaran-cli.exe" "$top/zelvaran_help.chm" "$top/LEEME.txt")

cp "$build/$setup" dist/
touch -d "@$epoch" "dist/$setup" "dist/$portable"
SOURCE_DATE_EPOCH=$epoch bash scripts/package_cli.sh dist
deb=$(cd dist && ls zelvaran-cli_"$version"_*.deb)
(cd dist && sha256sum "$setup" "$portable" "$deb" >SHA256SUMS && sha256sum -c --quiet SHA256SUMS)

zv_log "release $version in dist/:"
ls -l dist >&2
unzip -l "dist/$portable" >&2
cat dist/SHA256SUMS >&2
