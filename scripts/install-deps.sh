#!/usr/bin/env bash
# Installs what building and running Vestibor needs on Debian 12 (as root, or through sudo).
set -euo pipefail
# sqlite3 is the shell that changes the database with the program's extension (and its test runs it);
# dpkg-dev, file and lintian make and check the package; clang-format-14 checks the source format;
# libpq-dev lets the program ask libpq itself whether the server wants a password; libsodium-dev
# hashes the web accounts' passwords; libcpp-httplib-dev (with OpenSSL, zlib and brotli) serves
# the web app.
# The browser tests of the web app: Node with npm, chromium with its translations (a date
# field follows the browser's language), openssl for their certificate, curl to wait for it, zint
# for the labels the scanning test shows the fake camera.
packages=(cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libsqlite3-dev sqlite3 qt6-translations-l10n
          fonts-dejavu-core fonts-dejavu-extra xvfb xauth postgresql libqt6sql6-psql libpq-dev
          pkgconf libsodium-dev libcpp-httplib-dev dpkg-dev file lintian clang-format-14 nodejs chromium chromium-l10n openssl curl
          zint)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# A Node from elsewhere brings its own npm, and Debian's would conflict with it.
command -v npm > /dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
