#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings are errors), runs them all headless with ctest, then
# builds, installs and starts the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARDELLO_SANITIZE=ON -DVARDELLO_WERROR=ON
cmake --build build/test
# The store and end-to-end tests run on both engines: a PostgreSQL server on loopback.
# The assignment first, so that a server that cannot start stops the run here.
postgres_env=$(scripts/start-test-postgres.sh)
eval "$postgres_env"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/test --output-on-failure -j2 "$@"
# The Debian package: built, installed on this machine and started as a new user would.
scripts/test-package.sh
