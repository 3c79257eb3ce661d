#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Puts the licence identifier at the top of every source file that lacks it (after a
script's #! line) and prints the files it changed. With --check it changes nothing, and
exits with 1 when a file lacks it. Run from the repository's root."""
import re
import subprocess
import sys

check = "--check" in sys.argv[1:]
missing = 0

TAG = "SPDX-License-Identifier: Apache-2.0"
SLASHES = re.compile(r"\.(cpp|h|hpp|yy|js|cjs)$")
HASHES = re.compile(r"(\.(py|sh|cmake)$|(^|/)CMakeLists\.txt$|(^|/)Makefile$|^\.ci/run$)")

for path in subprocess.check_output(["git", "ls-files"], text=True).split():
    if SLASHES.search(path):
        line = "// " + TAG
    elif HASHES.search(path):
        line = "# " + TAG
    else:
        continue
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if any(TAG in head for head in text.split("\n", 3)[:3]):
        continue
    if check:
        print("no licence identifier:", path)
        missing += 1
        continue
    if text.startswith("#!"):
        first, _, rest = text.partition("\n")
        text = first + "\n" + line + "\n" + rest
    else:
        text = line + "\n" + text
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    print(path)

sys.exit(1 if missing else 0)
