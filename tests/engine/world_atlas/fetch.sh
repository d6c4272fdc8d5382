#!/bin/sh
# Fetches the world-atlas package (a TopoJSON map of the world's countries)
# with npm into the given build folder and writes its 110m and 50m country
# files as text for the real-data test and bench/spatial. Never fails: when
# npm or node is missing or the registry cannot be reached it says so, and
# the test that needs the files reports itself skipped.
set -u
dest=$1
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$dest" && cd "$dest" || exit 0
grep -q '^rings' countries-110m.txt 2>/dev/null && grep -q '^rings' countries-50m.txt 2>/dev/null &&
  exit 0
if ! command -v npm >/dev/null 2>&1 || ! command -v node >/dev/null 2>&1; then
  echo "world-atlas: npm or node is not installed; the real-data test is skipped"
  exit 0
fi
if [ ! -f world-atlas-2.0.2.tgz ] && ! npm pack --silent world-atlas@2.0.2 >/dev/null 2>&1; then
  echo "world-atlas: npm pack world-atlas@2.0.2 failed; the real-data test is skipped"
  exit 0
fi
tar xzf world-atlas-2.0.2.tgz package/countries-110m.json package/countries-50m.json || exit 0
for size in 110m 50m; do
  node "$here/topojson_to_text.js" "package/countries-$size.json" > "countries-$size.txt.part" &&
    mv "countries-$size.txt.part" "countries-$size.txt"
done
exit 0
