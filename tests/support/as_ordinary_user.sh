#!/usr/bin/env bash
# Runs a test program as an ordinary user: the superuser ignores file modes, so tests
# of what a mode forbids prove something only as someone else. Started as another
# user already, it runs the program as it is. The program is copied where that user
# can reach it, whatever folder the build lies in.
# Usage: as_ordinary_user.sh PROGRAM [ARGUMENT...]
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
    exec "$@"
fi
place="$(mktemp -d)"
trap 'rm -rf "$place"' EXIT
chmod 755 "$place"
cp "$1" "$place/"
program="$place/$(basename "$1")"
shift
cd "$place"
setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$place" "$program" "$@"
