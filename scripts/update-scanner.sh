#!/usr/bin/env bash
# Puts the barcode reader the web app falls back on, where the browser reads no codes itself,
# into webapp/vendor/: the detector's IIFE build, the ZXing reader's WebAssembly and both
# licences. The exact versions are installed with npm into a temporary folder, so building
# the program needs no npm; run this again only to move to other versions.
#   scripts/update-scanner.sh
set -euo pipefail
detector_version=3.2.5
zxing_version=3.1.8
here=$(cd "$(dirname "$0")" && pwd)
vendor="$here/../webapp/vendor"

work=$(mktemp -d /tmp/vestibor-scanner.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '{"private": true}\n' > package.json
npm install --no-audit --no-fund --ignore-scripts --save-exact \
    "barcode-detector@$detector_version" "zxing-wasm@$zxing_version" > /dev/null

# The detector must bring the very reader whose WebAssembly goes beside it.
installed=$(node -p 'require("./node_modules/zxing-wasm/package.json").version')
if [ "$installed" != "$zxing_version" ]; then
    echo "barcode-detector $detector_version brought zxing-wasm $installed, not $zxing_version" >&2
    exit 1
fi

mkdir -p "$vendor"
cp node_modules/barcode-detector/dist/iife/ponyfill.js "$vendor/barcode-detector.js"
cp node_modules/barcode-detector/LICENSE "$vendor/barcode-detector.LICENSE.txt"
cp node_modules/zxing-wasm/dist/reader/zxing_reader.wasm "$vendor/zxing_reader.wasm"
cp node_modules/zxing-wasm/LICENSE "$vendor/zxing-wasm.LICENSE.txt"
printf 'barcode-detector %s\nzxing-wasm %s\n' "$detector_version" "$zxing_version" > "$vendor/VERSIONS.txt"
ls -l "$vendor"
