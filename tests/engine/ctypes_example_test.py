#!/usr/bin/env python3
"""Runs the README's ctypes example against the built library and checks
what it prints."""
import subprocess
import sys

example, library = sys.argv[1], sys.argv[2]
result = subprocess.run([sys.executable, example, library], capture_output=True, text=True)
expected = [
    "paselong: 01 02 03 04",
    "hi_word(-1): 65535",
    "lo_word(65535): -1",
    "tokens: CL. 45 # 12 - 34",
]
lines = result.stdout.splitlines()
if result.returncode != 0 or lines != expected:
    print("exit", result.returncode, file=sys.stderr)
    print("stdout:", result.stdout, "stderr:", result.stderr, sep="\n", file=sys.stderr)
    print("expected:", *expected, sep="\n", file=sys.stderr)
    sys.exit(1)
