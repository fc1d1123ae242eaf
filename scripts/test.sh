#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings are errors) and runs them all headless with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARDELLO_SANITIZE=ON -DVARDELLO_WERROR=ON
cmake --build build/test
# The store and end-to-end tests run on both engines: a PostgreSQL server on loopback.
eval "$(scripts/start-test-postgres.sh)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/test --output-on-failure -j2 "$@"
