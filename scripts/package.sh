#!/usr/bin/env bash
# Installs what is missing, builds Vardello in Release and makes its Debian package in
# build/package/ (vardello_<version>_<arch>.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
command -v dpkg-shlibdeps >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq dpkg-dev
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARDELLO_TESTS=OFF
cmake --build build/package
(cd build/package && cpack -G DEB)
ls build/package/*.deb
