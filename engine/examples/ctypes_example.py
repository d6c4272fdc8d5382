#!/usr/bin/env python3
"""Calling libcartex32 from Python through the cartex32 module.

Usage: ctypes_example.py [path/to/libcartex32.so]
Without a path the module finds the library ($CARTEX32_LIBRARY, the one
installed beside it, or the linker's). Run from the source tree, the module
is taken from engine/python.
"""
import ctypes
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "python"))
import cartex32  # noqa: E402

cx = cartex32.load(sys.argv[1] if len(sys.argv) > 1 else None)

# Messages of the engine reach Python through the message callback; this one
# answers every question with Cancel, the safe answer.
cx.on_message(lambda caption, text, style: print(f"[{caption}] {text}", file=sys.stderr)
              or cartex32.IDCANCEL)

out = ctypes.create_string_buffer(4)
cx.paselong(ctypes.byref(ctypes.c_int32(0x01020304)), out)
print("paselong:", out.raw.hex(" "))
print("hi_word(-1):", cx.hi_word(-1))
print("lo_word(65535):", cx.lo_word(65535))

cx.Init_Adress()
cx.Set_Adress(b"Cl. 45 # 12-34")
token = ctypes.create_string_buffer(256)
tokens = []
position = 1
while True:
    n = cx.Get_Dir_Token(position, token)
    if n == 0:
        break
    tokens.append(token.value.decode("cp1252"))
    position += n
print("tokens:", " ".join(tokens))
