#!/usr/bin/python3
# Writes a crafted 7z payload: "escape" (the default) holds names that try to leave the
# installation folder, beside one harmless entry, for the installer's refusal test; "quoted"
# holds names with quote marks, one of them written to break out of the script statement that
# carries it. Debian's python3-py7zr writes any name.
import os
import random
import sys
import tempfile

import py7zr

KINDS = {
    "escape": [("good.txt", b"harmless\r\n"), ("..\\escaped.txt", b"outside\r\n"),
               ("\\rooted.txt", b"rooted\r\n"), ("C:\\drive.txt", b"drive\r\n")],
    # 8 MiB that do not compress come first: the install is still busy with them when the
    # script's message box opens.
    "quoted": [("0-big.bin", random.Random(1).randbytes(8 << 20)), ("a.txt", b"a\r\n"),
               ("it's.txt", b"its\r\n"),
               ('x");P("injected", GetInstallPath());P("x", "', b"x\r\n")],
}

entries = KINDS[sys.argv[2] if len(sys.argv) > 2 else "escape"]
with tempfile.TemporaryDirectory() as folder, py7zr.SevenZipFile(sys.argv[1], "w") as archive:
    for index, (name, data) in enumerate(entries):
        source = os.path.join(folder, str(index))
        with open(source, "wb") as file:
            file.write(data)
        archive.write(source, name)
