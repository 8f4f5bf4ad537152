#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (offscreen, no display needed), the
# server tests against a PostgreSQL server started for them and stopped afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
# The browser tests' own packages, exactly as locked; never a browser of Playwright's own.
(cd tests/web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
# The sources keep the committed format (.clang-format).
cmake --build build --target format-check
# The server tests run against a throwaway PostgreSQL server of their own.
root=$(pwd)
server=$(mktemp -d /tmp/vestibor-test-server.XXXXXX)
chmod 755 "$server"
trap '"$root/scripts/test-server.sh" stop "$server/srv"; rm -rf "$server"' EXIT
VESTIBOR_TEST_SERVER=$("$root/scripts/test-server.sh" start "$server/srv")
export VESTIBOR_TEST_SERVER
cd build
ctest --output-on-failure
