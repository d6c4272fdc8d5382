#!/usr/bin/env python3
"""The Python module against the C header and the built library: every host
record's size and field offsets as a C compiler lays them out, every declared
signature as the header writes it, every export of the header bound, the
message sink, and a device's PNG against its pixels.

Usage: module_test.py CC HEADER_DIR LIBRARY
"""
import ctypes
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png_rgb import read_png, rgb_of_rgbx  # noqa: E402

import cartex32  # noqa: E402

CC, HEADER_DIR, LIBRARY = sys.argv[1:4]
HEADER = os.path.join(HEADER_DIR, "cartex32.h")


def c_layouts():
    """{(structure, field or ''): offset or size} as the C compiler has them."""
    lines = ['#include <stdio.h>', '#include "cartex32.h"', "int main(void) {"]
    for s in cartex32.STRUCTURES:
        name = s.__name__
        lines.append(f'printf("{name} . %zu\\n", sizeof({name}));')
        for field, *_ in s._fields_:
            lines.append(f'printf("{name} {field} %zu\\n", offsetof({name}, {field}));')
    lines.append("return 0; }")
    with tempfile.TemporaryDirectory() as folder:
        source, program = os.path.join(folder, "layouts.c"), os.path.join(folder, "layouts")
        with open(source, "w") as f:
            f.write("\n".join(lines))
        subprocess.run([CC, "-std=c11", "-I", HEADER_DIR, "-o", program, source], check=True)
        out = subprocess.run([program], check=True, capture_output=True, text=True).stdout
    return {(s, f): int(v) for s, f, v in (line.split() for line in out.splitlines())}


class Module(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.cx = cartex32.load(LIBRARY, header=HEADER)

    def test_structures_are_laid_out_as_the_header_lays_them_out(self):
        want = c_layouts()
        got = {}
        for s in cartex32.STRUCTURES:
            got[(s.__name__, ".")] = ctypes.sizeof(s)
            for field, *_ in s._fields_:
                got[(s.__name__, field)] = getattr(s, field).offset
        self.assertEqual(got, want)

    def test_declared_signatures_are_the_headers_and_every_export_binds(self):
        header = cartex32.header_signatures(HEADER)
        self.assertGreater(len(header), 200)
        for name, signature in cartex32.SIGNATURES.items():
            self.assertEqual(signature, header.get(name), name)
        for name in header:
            getattr(self.cx, name)  # a name the library lacks raises here
        # One the module does not declare, bound from the header and called.
        self.assertNotIn("gaaspect", cartex32.SIGNATURES)
        aspect = ctypes.c_double()
        self.assertEqual(self.cx.gaaspect(ctypes.byref(aspect)), 1)
        self.assertEqual(aspect.value, 1.0)
        with self.assertRaisesRegex(AttributeError, "no such export"):
            self.cx.no_such_export

    def test_messages_reach_the_callback_until_it_is_removed(self):
        shown = []
        self.cx.on_message(lambda caption, text, style: shown.append((caption, text, style)))
        self.cx.end_cons(0)
        self.assertEqual(self.cx.set_consts(24, 99), 0)  # no session: refused, reported
        self.assertEqual(len(shown), 1)
        caption, text, style = shown[0]
        self.assertEqual(caption, "Mensaje de Cartex_win")
        self.assertIn("CAPA 99 NO EXISTE", text)
        self.assertEqual(style & 0xF0, cartex32.MB_ICONSTOP)
        kept = self.cx.keep_messages()
        self.cx.get_red(None, 5, None)
        self.assertEqual(len(kept), 1)
        self.assertIn("RED 5 NO EXISTE", kept[0])
        self.cx.on_message(None)
        self.cx.get_red(None, 6, None)  # to standard error now
        self.assertEqual(len(kept), 1)

    def test_a_device_gives_its_picture_as_png_bytes(self):
        with cartex32.Device(self.cx, 37, 23) as device:
            self.cx.gdmundo(0, 0, 0, 37, 23)
            self.cx.gdcolor(12)
            self.cx.gdlinanch(3)
            self.cx.glinea(2, 3, 30, 20)
            self.cx.gdcolor(9)
            self.cx.gcaja(20, 2, 35, 10)
            rgb = rgb_of_rgbx(device.pixels())
            self.assertGreater(len(set(rgb[i:i + 3] for i in range(0, len(rgb), 3))), 2)
            for png in (device.png(), cartex32.png_from_rgbx(37, 23, device.pixels())):
                self.assertEqual(read_png(png), (37, 23, rgb))
            handle = device.handle
        self.assertEqual(self.cx.copiar_pixeles(handle, ctypes.create_string_buffer(4)), -1)
        with self.assertRaises(ValueError):
            cartex32.Device(self.cx, 0, 10)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
