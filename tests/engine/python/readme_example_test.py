#!/usr/bin/env python3
"""Runs the Python session of engine/README.md ("From Python") as it stands:
what it prints must be what the README says it prints, and its picture must
show the three arcs and nothing inside the districts.

Usage: readme_example_test.py README LIBRARY
"""
import contextlib
import io
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png_rgb import read_png  # noqa: E402

readme, os.environ["CARTEX32_LIBRARY"] = sys.argv[1], sys.argv[2]
with open(readme, encoding="utf-8") as f:
    section = f.read().split("## From Python", 1)[1]
code, printed = re.findall(r"```(?:python)?\n(.*?)```", section, flags=re.S)[:2]

out = io.StringIO()
names = {"__name__": "readme_example"}
here = os.getcwd()
try:
    with contextlib.redirect_stdout(out):
        exec(compile(code, "README.md example", "exec"), names)
finally:
    os.chdir(here)

failures = []
want = printed.splitlines()
got = out.getvalue().splitlines()
if len(got) != len(want) or any(
        not re.fullmatch(re.escape(w).replace(r"\.\.\.", ".*"), g) for w, g in zip(want, got)):
    failures.append("printed:\n" + out.getvalue() + "README says:\n" + printed)

width, height, rgb = read_png(names["png"])


def pixel(x, y):
    return rgb[(y * width + x) * 3:(y * width + x) * 3 + 3]


# The world window (-100, -100) - (2100, 1100), widened to the device's
# shape to the right; the arcs run at x 0, 1000 and 2000.
scale = min(width / 2200, height / 1200)
column = [int((x + 100) * scale) for x in (0, 1000, 2000)]
white = b"\xff\xff\xff"
row = height // 3
for x in column:
    if all(pixel(c, row) == white for c in range(x - 1, x + 2)):
        failures.append(f"no arc drawn near column {x}")
for x in (column[0] + column[1]) // 2 + 20, (column[1] + column[2]) // 2 - 20:
    if pixel(x, row) != white:
        failures.append(f"inside a district, pixel {x}, {row} is {pixel(x, row).hex()}")
if failures:
    sys.exit("\n".join(failures))
