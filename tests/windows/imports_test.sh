#!/usr/bin/env bash
# The shipped programs need nothing but Windows' own libraries: no DLL of the compiler,
# its threads or zlib beside them.
# Usage: imports_test.sh PROGRAM...
set -uo pipefail
source "$(dirname "$0")/../e2e/xsession.sh"
system='^(kernel32|user32|gdi32|shell32|comctl32|comdlg32|dwmapi|advapi32|ole32|msvcrt)\.dll$'
for program in "$@"; do
    imports="$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')"
    echo "$(basename "$program"): $(echo $imports)"
    check "$(basename "$program") imports only Windows' own DLLs" bash -c "! grep -Evq '$system' <<<'$imports'"
done
finish
