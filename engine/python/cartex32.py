"""libcartex32 from Python: the host records, the exports, messages and devices.

    import cartex32
    cx = cartex32.load()              # $CARTEX32_LIBRARY, beside this module, or the linker's
    messages = cx.keep_messages()     # the engine's messages, kept in a list
    cx.inigks(0)
    with cartex32.Device(cx, 640, 480) as device:
        ...                           # draw; device.png() gives the picture as PNG bytes

Every export is an attribute of the library object. The ones a host needs to
open a base, read its topology, draw it and read attributes are declared in
SIGNATURES with the record structures below; any other export is declared
from the C header (cartex32.h, installed with the library) on first use.
Integers are the host's Integer (c_int16) and Long (c_int32), coordinates
doubles, texts bytes in Windows-1252.
"""
import ctypes
import ctypes.util
import os
import re
import struct
import sys
import tempfile
import traceback
import zlib

from ctypes import POINTER, Structure, c_char, c_char_p, c_double, c_int16, c_int32, c_uint8
from ctypes import c_void_p

WINDOWS = sys.platform == "win32"

# Message box styles and the buttons a message callback returns.
MB_OK, MB_OKCANCEL, MB_ABORTRETRYIGNORE, MB_YESNOCANCEL, MB_YESNO, MB_RETRYCANCEL = range(6)
MB_TYPEMASK = 0x000F
MB_ICONSTOP, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONINFORMATION = 0x10, 0x20, 0x30, 0x40
IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO = range(1, 8)

RED_HANDLES = 11  # nodo.dat, arco.dat, xyt2.inx, nodo.inx, list.dat, coo.dat, objs.dat, ...
XY_CURSOR_SIZE = 3086


# The host records, laid out as cartex32.h lays them out (padding named).
class cx_object(Structure):
    _pack_ = 4
    _fields_ = [("kind", c_int16), ("layer", c_uint8), ("pad3", c_uint8), ("x", c_double),
                ("y", c_double), ("rotation", c_int16), ("pad22", c_int16), ("block", c_int32),
                ("count", c_int16), ("pad30", c_int16), ("area", c_int32)]


class cx_node(Structure):
    _pack_ = 4
    _fields_ = [("code_prefix", c_uint8), ("code", c_char * 10), ("pad11", c_uint8),
                ("kind", c_int16), ("state", c_uint8), ("pad15", c_uint8), ("x", c_double),
                ("y", c_double), ("rotation", c_int16), ("pad34", c_int16), ("block", c_int32),
                ("count", c_int16), ("pad42", c_int16), ("area", c_int32),
                ("first_list", c_int32)]


class cx_arc(Structure):
    _pack_ = 4
    _fields_ = [("kind", c_int16), ("state", c_uint8), ("pad3", c_uint8), ("xmin", c_double),
                ("ymin", c_double), ("width", c_int16), ("pad22", c_int16), ("block", c_int32),
                ("count", c_int16), ("pad30", c_int16), ("first_desc", c_int32),
                ("from_node", c_int32), ("from_flag", c_uint8), ("pad41", c_uint8 * 3),
                ("to_node", c_int32), ("to_flag", c_uint8), ("pad49", c_uint8 * 3)]


class cx_area_object(Structure):
    _pack_ = 4
    _fields_ = [("code", c_char * 13), ("pad13", c_uint8 * 3), ("kind", c_int16),
                ("state", c_uint8), ("pad19", c_uint8), ("x", c_double), ("y", c_double),
                ("rotation", c_int16), ("pad38", c_int16), ("block", c_int32),
                ("count", c_int16), ("pad46", c_int16), ("area", c_int32),
                ("first_desc", c_int32)]


class cx_area(Structure):
    _pack_ = 2
    _fields_ = [("code", c_char * 13), ("pad13", c_uint8), ("object", c_int32),
                ("value", c_int32 * 3)]


class cx_layer(Structure):
    _pack_ = 1
    _fields_ = [("name", c_char * 31), ("hidden", c_uint8), ("attributes", c_uint8 * 3),
                ("kind", c_uint8), ("code_prefix", c_uint8 * 2), ("network_prefix", c_char * 5)]


class cx_kind(Structure):
    _pack_ = 1
    _fields_ = [("name", c_char * 31), ("colour", c_uint8), ("geometry", c_uint8),
                ("line_type", c_uint8), ("text_size", c_uint8), ("layer", c_uint8),
                ("hidden", c_uint8), ("no_code_label", c_uint8), ("attribute_base", c_char * 22),
                ("hatch", c_uint8), ("line_width", c_uint8), ("text_scale", c_uint8 * 2),
                ("hatch_step", c_uint8), ("text_style", c_uint8), ("level", c_uint8),
                ("code_form", c_uint8), ("storage", c_uint8), ("symbol", c_uint8)]


class cx_legend_slot(Structure):
    _pack_ = 4
    _fields_ = [("index", c_int16), ("pad2", c_int16), ("value", c_double), ("a", c_int16),
                ("b", c_int16), ("c", c_int16), ("d", c_int16), ("e", c_int16),
                ("label", c_char * 30)]


class cx_valor_expr(Structure):
    _fields_ = [("number", c_double), ("vector", c_int32), ("kind", c_int16),
                ("text", c_char * 90)]


class cx_var_value(Structure):
    _pack_ = 4
    _fields_ = [("kind", c_int16), ("pad2", c_int16), ("number", c_double),
                ("text", c_char * 90)]


class cx_varname(Structure):
    _pack_ = 2
    _fields_ = [("type", c_int16), ("name", c_char * 35), ("caption", c_char * 35),
                ("width", c_int16)]


class cx_formula_text(Structure):
    _pack_ = 2
    _fields_ = [("text", c_char * 256), ("zero", c_int16)]


class cx_field_def(Structure):
    _fields_ = [("type", c_int16), ("offset", c_int16), ("length", c_int16), ("width", c_int16),
                ("decimals", c_int16), ("name", c_char * 11), ("reserved21", c_uint8 * 24),
                ("variable", c_char * 11), ("reserved56", c_uint8 * 346),
                ("link", c_uint8 * 4), ("value", c_uint8 * 90)]


STRUCTURES = [cx_object, cx_node, cx_arc, cx_area_object, cx_area, cx_layer, cx_kind,
              cx_legend_slot, cx_valor_expr, cx_var_value, cx_varname, cx_formula_text,
              cx_field_def]

# The callbacks have the exports' calling convention (__stdcall in the DLL).
_FUNCTYPE = ctypes.WINFUNCTYPE if WINDOWS else ctypes.CFUNCTYPE
MESSAGE_FN = _FUNCTYPE(c_int32, c_void_p, c_int32, c_char_p, c_char_p, c_int32)
PUMP_FN = _FUNCTYPE(None, c_void_p)

I16, I32, D, S, P = c_int16, c_int32, c_double, c_char_p, c_void_p
PD, PI16, PI32 = POINTER(c_double), POINTER(c_int16), POINTER(c_int32)


def _typed(name, restype, *argtypes):
    return name, (restype, list(argtypes))


# Exports by use: (result, [arguments]), as cartex32.h declares them.
SIGNATURES = dict([
    # frame, messages, pump
    _typed("paselong", None, PI32, P), _typed("paseint", None, PI16, P),
    _typed("hi_word", I32, I32), _typed("lo_word", I16, I32),
    _typed("Init_Adress", None), _typed("Set_Adress", None, S),
    _typed("Get_Dir_Token", I16, I16, S),
    _typed("set_Hwnd", I16, I32), _typed("terminar", None, I32),
    _typed("cx_set_message_callback", I16, MESSAGE_FN, P),
    _typed("cx_set_pump_callback", I16, PUMP_FN, P),
    # session
    _typed("inigks", I16, I32), _typed("end_cons", I16, I32), _typed("inifil", I16, I32),
    _typed("set_consts", I16, I16, I16), _typed("get_consts", I16, I16),
    _typed("set_capas", I16, I16, I16), _typed("get_capas", I16, I16),
    _typed("set_objetos", I16, I16, I16), _typed("get_objetos", I16, I16),
    _typed("set_tcapas", None, I16, POINTER(cx_layer)),
    _typed("get_tcapas", None, I16, POINTER(cx_layer)),
    _typed("set_tobjetos", None, I16, POINTER(cx_kind)),
    _typed("get_tobjetos", None, I16, POINTER(cx_kind)),
    _typed("set_video", None, D, D, D, D), _typed("get_video", None, PD, PD, PD, PD),
    _typed("initst", I16, I32), _typed("dmoven", None, I32),
    _typed("zoom_in", None, I32), _typed("zoom_out", None, I32),
    _typed("last_window", None, I32),
    _typed("set_workxy", None, D, D, D, D), _typed("get_work_extents", I16, PD, PD, PD, PD),
    # record files
    _typed("sleer", I16, I16, P, I32, I16), _typed("sescribir", I16, I16, P, I32, I16),
    _typed("lea_coord", I16, I16, I32, PD, PD, I16),
    _typed("sleer_obj", I16, I16, POINTER(cx_object), I32, I16),
    _typed("sleer_nod", I16, I16, POINTER(cx_node), I32, I16),
    _typed("sleer_arc", I16, I16, POINTER(cx_arc), I32, I16),
    _typed("sleer_top", I16, I16, POINTER(cx_area_object), I32, I16),
    _typed("sleer_are", I16, I16, POINTER(cx_area), I32, I16),
    # topology: files, networks, queries, writers, drawing one record, the redraw
    _typed("crear_BG", I16, I32), _typed("abra_t0", I16, I32), _typed("cierre_t0", I16, I32),
    _typed("reabra", None, I16, I32), _typed("cierred", I16, I16),
    _typed("get_red", None, PI16, I16, PI16), _typed("get_red_act", I16, I32),
    _typed("xyinicie", I16, I16, P, I16, D, D, D, D),
    _typed("xynext", I16, I16, P, I16, P, PI32),
    _typed("xycalcxy", I16, I32, PD, PD, P, PI16),
    _typed("grabe_t0", I32, POINTER(cx_object), PD, PD, S),
    _typed("grabe_nodo", I32, POINTER(cx_node), POINTER(cx_object), I32, I32, I32, PI16),
    _typed("grabe_arco", I32, POINTER(cx_arc), POINTER(cx_object), PD, PD, I32, PI16),
    _typed("grabe_t3", I32, S, S, POINTER(cx_object)),
    _typed("vea_topo01", I16, I32, I16), _typed("vea_nodo", I16, I32, I16),
    _typed("vea_arco", I16, I32, I16), _typed("vea_area", I16, I32, I16),
    _typed("redespliegue", None, I32),
    # areas and measures
    _typed("agregue_arco", I16, I32, I32), _typed("cerradura", I16, I32),
    _typed("topo_area", I16, POINTER(cx_area_object), PD, PD),
    _typed("esta_dentro", I16, D, D, I32, I16), _typed("busque_nodo", I32, D, D),
    # devices and drawing
    _typed("crear_dispositivo", I32, I32, I32), _typed("guardar_png", I16, I32, S),
    _typed("copiar_pixeles", I16, I32, P), _typed("liberar_dispositivo", I16, I32),
    _typed("gabrest", I16, I16, I16, I16, I16, I32), _typed("ginicie", I16, I32),
    _typed("gfinalice", I16, I32), _typed("gdmundo", I16, I16, D, D, D, D),
    _typed("gdvista", I16, I16, I16, I16, I16, I16), _typed("gdtransf", I16, I16),
    _typed("gdcolor", I16, I32), _typed("gsetcolor", I16, I16, I32),
    _typed("ggetcolor", I32, I16), _typed("gdlintip", I16, I16), _typed("gdlinanch", I16, I16),
    _typed("glinea", None, D, D, D, D), _typed("gplinea", None, PD, PD, I16),
    _typed("gcaja", I16, D, D, D, D), _typed("gtexto", I16, D, D, S),
    _typed("gxdev", I32, D), _typed("gydev", I32, D), _typed("gapunto", I32, I16, I16, I32),
    # attribute bases and formulas
    _typed("abra_atrs", I16), _typed("cierre_atrs", I16),
    _typed("lea_atribs", I16, I16, PI16, S), _typed("existe_codigo", I32, S, S),
    _typed("codigos", I16, S, PD, PD, PD, I16),
    _typed("get_nvars", I16, I16), _typed("get_varname", I16, I16, I16, POINTER(cx_varname)),
    _typed("get_value", I16, I16, I16, POINTER(cx_var_value)),
    _typed("evaluar", I16, S, POINTER(cx_valor_expr)),
    _typed("inspector", S, S), _typed("evalue_sum", None, S, POINTER(cx_valor_expr)),
    _typed("ins_external_var", I16, S, I16), _typed("set_num_var", None, I16, D),
    _typed("set_alfa_var", None, I16, S), _typed("free_external_vars", None),
    _typed("get_var_value", None, I16, POINTER(cx_var_value)),
])

_SCALARS = {"int16_t": c_int16, "int32_t": c_int32, "double": c_double, "uint8_t": c_uint8,
            "char": c_char, "unsigned char": c_uint8, "void": None}
_BY_NAME = {s.__name__: s for s in STRUCTURES}
_BY_NAME.update(cx_message_fn=MESSAGE_FN, cx_pump_fn=PUMP_FN)


def _ctype(declaration):
    """The ctypes type of a C parameter or result type, as SIGNATURES writes it."""
    text = re.sub(r"\bconst\b", " ", declaration)
    stars = text.count("*")
    base = " ".join(text.replace("*", " ").split())
    if base in _BY_NAME:
        kind = _BY_NAME[base]
        return POINTER(kind) if stars else kind
    if base not in _SCALARS:
        raise ValueError(f"cartex32.h: type {declaration!r} has no ctypes form here")
    if not stars:
        return _SCALARS[base]
    if base in ("char",):
        return c_char_p
    if base in ("void", "uint8_t", "unsigned char"):
        return c_void_p
    return POINTER(_SCALARS[base])


def header_signatures(path):
    """Every export declared in the C header at path: {name: (result, [arguments])}."""
    with open(path, encoding="cp1252") as f:
        text = re.sub(r"/\*.*?\*/", " ", f.read(), flags=re.S)
    found = {}
    for result, name, arguments in re.findall(r"CX_EXPORT\(([^)]*)\)\s*(\w+)\s*\(([^)]*)\)\s*;",
                                             text):
        argtypes = []
        for argument in arguments.split(","):
            argument = argument.strip()
            if argument in ("", "void"):
                continue
            declaration = re.sub(r"\w+$", "", argument)  # drop the parameter's name
            argtypes.append(_ctype(declaration))
        found[name] = (_ctype(result), argtypes)
    return found


class Library:
    """The loaded engine: every export an attribute, declared on first use."""

    def __init__(self, path=None, header=None):
        here = os.path.dirname(os.path.abspath(__file__))
        name = "cartex32.dll" if WINDOWS else "libcartex32.so"
        if path is None:
            beside = os.path.join(here, "..", "..", name)  # lib/python3/dist-packages/..
            path = (os.environ.get("CARTEX32_LIBRARY")
                    or (beside if os.path.exists(beside) else None)
                    or ctypes.util.find_library("cartex32") or name)
        self.path = path
        self.dll = ctypes.WinDLL(path) if WINDOWS else ctypes.CDLL(path)
        self._header_places = [p for p in [
            header, os.environ.get("CARTEX32_HEADER"),
            os.path.join(os.path.dirname(os.path.abspath(path)), "..", "include", "cartex32.h"),
            os.path.join(here, "..", "..", "..", "include", "cartex32.h"),
            os.path.join(here, "..", "include", "cartex32.h")] if p]
        self._from_header = None
        self._callbacks = {}

    def signature(self, name):
        """(result, [arguments]) of an export: SIGNATURES, else the C header's."""
        if name in SIGNATURES:
            return SIGNATURES[name]
        if self._from_header is None:
            place = next((p for p in self._header_places if os.path.exists(p)), None)
            if place is None:
                raise AttributeError(f"{name}: not declared here and no cartex32.h found "
                                     "(set CARTEX32_HEADER)")
            self._from_header = header_signatures(place)
        if name not in self._from_header:
            raise AttributeError(f"{name}: cartex32.h declares no such export")
        return self._from_header[name]

    def __getattr__(self, name):
        if name.startswith("_"):
            raise AttributeError(name)
        restype, argtypes = self.signature(name)
        function = getattr(self.dll, name)
        function.restype, function.argtypes = restype, argtypes
        setattr(self, name, function)
        return function

    def on_message(self, show):
        """Sends every message to show(caption, text, style) (str, str, int), which
        returns the button pressed (IDOK, IDCANCEL, IDYES...); None restores the
        engine's default sink."""
        if show is None:
            self._callbacks.pop("message", None)
            self.cx_set_message_callback(MESSAGE_FN(), None)
            return

        def call(user, owner, caption, text, style):
            try:
                answer = show(caption.decode("cp1252"), text.decode("cp1252"), style)
            except Exception:  # an exception cannot cross into the engine
                traceback.print_exc()
                return IDCANCEL
            return IDOK if answer is None else int(answer)

        self._callbacks["message"] = MESSAGE_FN(call)  # kept alive while installed
        self.cx_set_message_callback(self._callbacks["message"], None)

    def keep_messages(self, answer=IDCANCEL):
        """Keeps the text of every message in the returned list and answers each
        question with `answer` (Cancel by default: nothing is deleted)."""
        kept = []

        def keep(caption, text, style):
            kept.append(text)
            return IDOK if style & MB_TYPEMASK == MB_OK else answer

        self.on_message(keep)
        return kept

    def on_pump(self, pump):
        """Calls pump() every few items of a long loop (a redraw); None removes it."""
        if pump is None:
            self._callbacks.pop("pump", None)
            self.cx_set_pump_callback(PUMP_FN(), None)
            return
        self._callbacks["pump"] = PUMP_FN(lambda user: pump())
        self.cx_set_pump_callback(self._callbacks["pump"], None)

    def network(self, number=None):
        """The handle record of a network (the current one by default), made current."""
        handles, count = (c_int16 * RED_HANDLES)(), c_int16()
        self.get_red(handles, self.get_red_act(0) if number is None else number,
                     ctypes.byref(count))
        return handles

    def fields(self, base):
        """{caption: value} of the fields of open attribute base `base` in its current
        record: numbers as floats, texts as str."""
        values = {}
        name, value = cx_varname(), cx_var_value()
        for ordinal in range(1, self.get_nvars(base) + 1):
            self.get_varname(base, ordinal, ctypes.byref(name))
            self.get_value(base, ordinal, ctypes.byref(value))
            caption = name.caption.decode("cp1252").strip()
            text = value.text.decode("cp1252").rstrip(" ")
            values[caption] = text if value.kind else value.number
        return values


def load(path=None, header=None):
    """Loads the engine: path, else $CARTEX32_LIBRARY, else the library installed
    beside this module, else the one the linker finds."""
    return Library(path, header)


def png_from_rgbx(width, height, rgbx):
    """An 8-bit RGB PNG of width x height pixels given as R, G, B, 0 bytes."""
    rows = bytearray()
    stride = width * 4
    for y in range(height):
        row = memoryview(rgbx)[y * stride:(y + 1) * stride]
        rows.append(0)
        line = bytearray(width * 3)
        line[0::3], line[1::3], line[2::3] = row[0::4], row[1::4], row[2::4]
        rows += line

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))


class Device:
    """A drawing surface of the engine, bound for drawing when made:

        with Device(cx, 800, 600) as device:
            cx.set_video(0, 0, 5000, 5000); cx.dmoven(0)
            png = device.png()
    """

    def __init__(self, library, width, height, bind=True):
        self.cx, self.width, self.height = library, width, height
        self.handle = library.crear_dispositivo(width, height)
        if self.handle == 0:
            raise ValueError(f"crear_dispositivo({width}, {height}) failed")
        if bind:
            self.bind()

    def bind(self):
        """Makes the drawing functions draw here: every window the whole device."""
        self.cx.gabrest(0, 0, self.width, self.height, self.handle)
        self.cx.ginicie(0)
        self.cx.gdvista(0, 0, 0, self.width, self.height)
        return self

    def pixels(self):
        """The pixels, rows top to bottom, each the bytes red, green, blue, 0."""
        buffer = (c_uint8 * (self.width * self.height * 4))()
        if self.cx.copiar_pixeles(self.handle, buffer) != 0:
            raise ValueError("copiar_pixeles: no such device")
        return bytes(buffer)

    def png(self):
        """The picture as PNG bytes: the engine's own writer where it has one, else
        encoded here from the pixels."""
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "device.png")
            if not WINDOWS and self.cx.guardar_png(self.handle, path.encode()) == 0:
                with open(path, "rb") as f:
                    return f.read()
        return png_from_rgbx(self.width, self.height, self.pixels())

    def close(self):
        if self.handle:
            self.cx.liberar_dispositivo(self.handle)
            self.handle = 0

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()
