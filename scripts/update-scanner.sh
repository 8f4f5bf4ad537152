#!/usr/bin/env bash
# Puts the barcode reader the web app falls back on, where the browser reads no codes itself,
# into webapp/vendor/: the detector's IIFE build, the ZXing reader's WebAssembly and the
# licences of what they are made from. The exact versions are installed with npm into a temporary folder, so building
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

# The WebAssembly is ZXing-C++ (with the package's glue to it) built for the web, which is under
# the Apache License 2.0 and so goes with its licence and notice. The package names that licence
# (README, "Licenses") without carrying its text: the text is Debian's copy, the notice is the
# one of ZXing-C++ below (compare it with its NOTICE at the commit printed when moving on).
if ! grep -q '^- \[zxing-cpp\](.*): \[Apache License 2.0\]' node_modules/zxing-wasm/README.md; then
    echo "zxing-wasm $zxing_version no longer names ZXing-C++ as under the Apache License 2.0" >&2
    exit 1
fi
apache=/usr/share/common-licenses/Apache-2.0
[ -r "$apache" ] || { echo "$apache is missing (Debian's base-files carries it)" >&2; exit 1; }
zxing_cpp_commit=$(node --input-type=module \
    -e 'import {ZXING_CPP_COMMIT} from "zxing-wasm/reader"; console.log(ZXING_CPP_COMMIT)')

mkdir -p "$vendor"
cp node_modules/barcode-detector/dist/iife/ponyfill.js "$vendor/barcode-detector.js"
cp node_modules/barcode-detector/LICENSE "$vendor/barcode-detector.LICENSE.txt"
cp node_modules/zxing-wasm/dist/reader/zxing_reader.wasm "$vendor/zxing_reader.wasm"
cp node_modules/zxing-wasm/LICENSE "$vendor/zxing-wasm.LICENSE.txt"
{
    cat << EOF
zxing_reader.wasm is built from ZXing-C++ (https://github.com/zxing-cpp/zxing-cpp, commit
$zxing_cpp_commit) and the glue of zxing-wasm $zxing_version to it (src/cpp/ZXingWasm.cpp),
both under the Apache License, Version 2.0; the notice of ZXing-C++ and the licence follow.

EOF
    cat << 'EOF'
--------------------------------------------------------------------------------
NOTICES FOR TextCodec
--------------------------------------------------------------------------------
Part of this software uses code source from Qt under LGPL license.
Copyright (C) 2015 The Qt Company Ltd.

--------------------------------------------------------------------------------
NOTICES FOR ZXing
--------------------------------------------------------------------------------
Copyright 2016 ZXing authors.
https://github.com/zxing

--------------------------------------------------------------------------------
NOTICES FOR BARCODE4J
--------------------------------------------------------------------------------

Barcode4J
Copyright 2002-2010 Jeremias Märki
Copyright 2005-2006 Dietmar Bürkle

Portions of this software were contributed under section 5 of the
Apache License. Contributors are listed under:
http://barcode4j.sourceforge.net/contributors.html

--------------------------------------------------------------------------------
NOTICES FOR JCOMMANDER
--------------------------------------------------------------------------------

Copyright 2010 Cedric Beust cedric@beust.com

================================================================================

EOF
    cat "$apache"
} > "$vendor/zxing-cpp.LICENSE.txt"
printf '%s
' "barcode-detector $detector_version (MIT)" \
    "zxing-wasm $zxing_version (MIT; its glue to ZXing-C++ Apache-2.0)" \
    "zxing-cpp $zxing_cpp_commit (Apache-2.0; zxing_reader.wasm is built from it; zxing-cpp.LICENSE.txt)" \
    > "$vendor/VERSIONS.txt"
ls -l "$vendor"
