#!/usr/bin/env bash
# Installs the whole build into a scratch prefix and checks that what a
# distribution looks for is there: the manual pages, the completion, the
# metainfo and icons of the desktop program (with the GUI), and the engine
# library under its soname with the usual links.
set -euo pipefail
build_dir=$1
gui=$2  # ON when the desktop program is built
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

fail() { echo "install: $*"; exit 1; }
share=$prefix/share
expect=("$share/man/man1/trawlix-cli.1" "$share/bash-completion/completions/trawlix-cli"
        "$prefix/bin/trawlix-cli")
if [ "$gui" = ON ]; then
  expect+=("$share/man/man1/trawlix.1" "$share/metainfo/org.trawlix.Trawlix.metainfo.xml"
           "$share/icons/hicolor/scalable/apps/trawlix.svg"
           "$share/icons/hicolor/256x256/apps/trawlix.png" "$prefix/bin/trawlix")
fi
for f in "${expect[@]}"; do [ -f "$f" ] || fail "${f#"$prefix"/} is missing"; done

lib=$(find "$prefix" -name 'libcartex32.so.0.*' -type f | head -n1)
[ -n "$lib" ] || fail "libcartex32.so.0.* is missing"
libdir=$(dirname "$lib")
[ "$(readlink "$libdir/libcartex32.so.0")" = "$(basename "$lib")" ] ||
  fail "libcartex32.so.0 does not link to $(basename "$lib")"
[ "$(readlink "$libdir/libcartex32.so")" = libcartex32.so.0 ] ||
  fail "libcartex32.so does not link to libcartex32.so.0"
soname=$(objdump -p "$lib" | awk '$1 == "SONAME" { print $2 }')
[ "$soname" = libcartex32.so.0 ] || fail "the soname is '$soname', not libcartex32.so.0"

# The manual pages are well-formed roff; the completion is valid bash.
for page in "$share"/man/man1/*.1; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
bash -n "$share/bash-completion/completions/trawlix-cli" || fail "the completion is not valid bash"
if [ "$gui" = ON ] && command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$share/metainfo/org.trawlix.Trawlix.metainfo.xml" >/dev/null ||
    fail "the metainfo does not validate"
fi
echo "installed and checked in $prefix"
