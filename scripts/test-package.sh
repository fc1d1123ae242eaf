#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine and starts the installed program
# headless as a new user would: it must create its archive in the user's data folder, log in
# as the administrator of the new archive and end, writing nothing into the system folders.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/package.sh
deb=$(ls -t build/package/vardello_*.deb | head -n 1)
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall "./$deb" >/dev/null

test -x /usr/bin/vardello
test -f /usr/share/applications/vardello.desktop
test -f /usr/share/icons/hicolor/48x48/apps/vardello.png
/usr/bin/vardello --version | grep -q '^Vardello '
/usr/bin/vardello --help | grep -q -- '--copia-archivio'

home=$(mktemp -d)
marker=$(mktemp)
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  QT_QPA_PLATFORM=offscreen /usr/bin/vardello --prova-avvio
test -f "$home/.local/share/vardello/VARDELLO.MDB"
# Under the usual umask the archive and its folder are the user's alone.
test "$(stat -c %a "$home/.local/share/vardello/VARDELLO.MDB")" = 600
test "$(stat -c %a "$home/.local/share/vardello")" = 700
if [ -n "$(find /usr -newer "$marker" \( -iname 'vardello*.mdb' -o -name 'vardello.ini' \) 2>/dev/null)" ]; then
  echo "the installed program wrote into a system folder" >&2
  exit 1
fi
# A second start on the same archive finds it and logs in again.
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  QT_QPA_PLATFORM=offscreen /usr/bin/vardello --prova-avvio | grep -q "$home/.local/share/vardello/VARDELLO.MDB"
rm -rf "$home" "$marker"
echo "package test: ok"
