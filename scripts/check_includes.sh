#!/usr/bin/env bash
# The code above the system keeps to the faces: no Qt and no system header outside the
# folders that implement a face for one platform. Prints each include that breaks the
# rule and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# Folders held to the rule, and the implementation folders inside them that are not.
checked=(src/base src/formats src/settings src/navigation src/overview src/png tools/convert src/ui src/app src/settings_dialog)
implementations=(src/base/posix src/base/win32 src/ui/qt src/ui/win32)

# Qt's headers (<QWidget>, <QtCore/...>, <qglobal.h>) and the systems' own: POSIX,
# Linux, Win32, X11.
forbidden='^[[:space:]]*#[[:space:]]*include[[:space:]]*<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*|q[a-z_]*\.h|unistd\.h|fcntl\.h|dirent\.h|pwd\.h|grp\.h|poll\.h|dlfcn\.h|pthread\.h|malloc\.h|sys/[^>]*|linux/[^>]*|windows\.h|winbase\.h|winuser\.h|io\.h|direct\.h|shellapi\.h|commdlg\.h|commctrl\.h|mmsystem\.h|xcb/[^>]*|X11/[^>]*)>'

exempt=()
for folder in "${implementations[@]}"; do exempt+=(":!:$folder"); done
found="$(git ls-files --cached --others --exclude-standard -- "${checked[@]}" "${exempt[@]}" | grep -E '\.(h|cpp)$' |
         xargs grep -nE "$forbidden" || true)"
if [ -n "$found" ]; then
    echo "$found"
    echo "FAILED: a Qt or system header outside the implementation folders (${implementations[*]})"
    exit 1
fi
echo "includes: the checked folders (${checked[*]}) name no Qt or system header"
