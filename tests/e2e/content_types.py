"""Prints the content type the desktop gives each file named on standard input, one
"TYPE PATH" line each, as file managers guess it: by name and by the first 4 KiB."""
import sys

from gi.repository import Gio

for line in sys.stdin:
    path = line.rstrip("\n")
    try:
        with open(path, "rb") as f:
            data = f.read(4096)
    except OSError:
        continue
    content_type, _ = Gio.content_type_guess(path, data)
    print(content_type, path)
