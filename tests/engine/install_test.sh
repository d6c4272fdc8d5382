#!/usr/bin/env bash
# Installs the built engine into a scratch prefix, then builds and runs a C
# host against it through pkg-config, as a user of the installed library does.
set -euo pipefail
build_dir=$1
cc=$2
extra_flags=${3:-}  # the sanitizer flags of an instrumented build
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" --component cartex32 >/dev/null
pc_dir=$(dirname "$(find "$prefix" -name cartex32.pc | head -n1)")
[ -f "$pc_dir/cartex32.pc" ] || { echo "cartex32.pc not installed"; exit 1; }
[ -f "$prefix/include/cartex32.h" ] || { echo "cartex32.h not installed"; exit 1; }
for data in tabtvec.dat tabico.dat; do
  [ -f "$prefix/share/cartex32/$data" ] || { echo "$data not installed"; exit 1; }
done

cat >"$prefix/host.c" <<'C'
#include <cartex32.h>
#include <stdio.h>
int main(void) {
  int16_t v = 258;
  uint8_t out[2];
  paseint(&v, out);
  printf("%d %d\n", out[0], out[1]);
  return !(out[0] == 1 && out[1] == 2);
}
C
flags=$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs cartex32)
libdir=$(PKG_CONFIG_PATH="$pc_dir" pkg-config --variable=libdir cartex32)
# shellcheck disable=SC2086
"$cc" $extra_flags -o "$prefix/host" "$prefix/host.c" $flags
LD_LIBRARY_PATH="$libdir" "$prefix/host"

# The Python module finds the library and the header installed beside it.
if [ -z "$extra_flags" ] && command -v python3 >/dev/null; then
  module=$(find "$prefix" -name cartex32.py | head -n1)
  [ -n "$module" ] || { echo "cartex32.py not installed"; exit 1; }
  env -u CARTEX32_LIBRARY -u CARTEX32_HEADER PYTHONPATH="$(dirname "$module")" python3 -c '
import ctypes, sys, cartex32
cx = cartex32.load()
aspect = ctypes.c_double()
assert cx.path.startswith(sys.argv[1]), cx.path
assert cx.hi_word(-1) == 65535 and cx.gaaspect(ctypes.byref(aspect)) == 1 and aspect.value == 1
' "$prefix"
fi

# cartex comes with the library and finds it from where it is installed.
if [ -x "$build_dir/bin/cartex" ]; then
  [ -x "$prefix/bin/cartex" ] || { echo "cartex not installed"; exit 1; }
  "$prefix/bin/cartex" new "$prefix/base" >/dev/null
  "$prefix/bin/cartex" info "$prefix/base" | grep -q 'layer 1 "topologia"' ||
    { echo "the installed cartex did not make a base"; exit 1; }
fi
