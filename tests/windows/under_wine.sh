#!/usr/bin/env bash
# Runs a Windows program under wine in a wine prefix of its own, made for the run and
# removed after it.
# Usage: under_wine.sh PROGRAM [ARGUMENT...]
set -uo pipefail
scratch="$(mktemp -d)"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$scratch"' EXIT
wine "$@"
