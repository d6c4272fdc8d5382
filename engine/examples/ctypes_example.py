#!/usr/bin/env python3
"""Calling libcartex32 from Python with ctypes.

Usage: ctypes_example.py [path/to/libcartex32.so]
Without a path the library is looked up the usual way (LD_LIBRARY_PATH,
the linker cache).
"""
import ctypes
import ctypes.util
import sys

path = sys.argv[1] if len(sys.argv) > 1 else ctypes.util.find_library("cartex32")
if not path:
    sys.exit("libcartex32 not found; pass its path")
cx = ctypes.CDLL(path)

# Declare each export before use, as a host declares it: int16_t for the
# host's Integer, int32_t for its Long, pointers for records and buffers.
cx.paselong.argtypes = [ctypes.POINTER(ctypes.c_int32), ctypes.c_char_p]
cx.paselong.restype = None
cx.hi_word.argtypes = [ctypes.c_int32]
cx.hi_word.restype = ctypes.c_int32
cx.lo_word.argtypes = [ctypes.c_int32]
cx.lo_word.restype = ctypes.c_int16
cx.Init_Adress.argtypes = []
cx.Init_Adress.restype = None
cx.Set_Adress.argtypes = [ctypes.c_char_p]
cx.Set_Adress.restype = None
cx.Get_Dir_Token.argtypes = [ctypes.c_int16, ctypes.c_char_p]
cx.Get_Dir_Token.restype = ctypes.c_int16

# Messages of the engine reach Python through the message callback.
MESSAGE_FN = ctypes.CFUNCTYPE(ctypes.c_int32, ctypes.c_void_p, ctypes.c_int32,
                              ctypes.c_char_p, ctypes.c_char_p, ctypes.c_int32)
cx.cx_set_message_callback.argtypes = [MESSAGE_FN, ctypes.c_void_p]
cx.cx_set_message_callback.restype = ctypes.c_int16


@MESSAGE_FN
def on_message(user, owner, caption, text, style):
    print(f"[{caption.decode('cp1252')}] {text.decode('cp1252')}", file=sys.stderr)
    return 2  # Cancel: the safe answer to any question


cx.cx_set_message_callback(on_message, None)  # keep on_message alive meanwhile

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
