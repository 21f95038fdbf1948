#!/usr/bin/python3
# Writes a 7z payload whose entry names try to leave the installation folder, beside one
# harmless entry, for the installer's refusal test. Debian's python3-py7zr writes any name.
import os
import sys
import tempfile

import py7zr

ENTRIES = [("good.txt", b"harmless\r\n"), ("..\\escaped.txt", b"outside\r\n"),
           ("\\rooted.txt", b"rooted\r\n"), ("C:\\drive.txt", b"drive\r\n")]

with tempfile.TemporaryDirectory() as folder, py7zr.SevenZipFile(sys.argv[1], "w") as archive:
    for index, (name, data) in enumerate(ENTRIES):
        source = os.path.join(folder, str(index))
        with open(source, "wb") as file:
            file.write(data)
        archive.write(source, name)
