/*
 * cartex32.h - the public interface of libcartex32, the vector map engine.
 *
 * Hosts bind these functions by name at run time (dlopen/dlsym,
 * LoadLibraryA/GetProcAddress) or link the library directly. The names are
 * those of the interface map in engine/exports.txt; this version of the
 * library provides part of the map, and engine/README.md ("The exports of
 * this version") lists which names it provides, written from exports.txt
 * and the built library. Every function declared here is provided.
 *
 * Conventions shared by every function:
 *
 *  - Integer arguments and results are int16_t (a host Integer) or int32_t
 *    (a host Long); world coordinates and measures are doubles.
 *  - Strings are NUL-terminated ANSI (Windows-1252) text. Every pointer
 *    argument is caller-owned memory: the library reads or fills it during
 *    the call only, never keeps it afterwards (the callbacks' user pointers
 *    aside), never frees it and never allocates memory for the caller.
 *    Output buffers must be as large as each function says.
 *  - Each function below says what it returns on success and on failure,
 *    by value. Record and file operations return 0 on success and -1 on
 *    failure; switches return -1 for true and 0 for false. A failure has
 *    already been shown to the user through the message sink (see
 *    cx_set_message_callback) by the time the call returns; no error code
 *    is kept for later.
 *  - A function refusing its arguments (a null pointer, a number outside
 *    the loaded table, a negative count) changes nothing it was asked to
 *    write, unless its block says otherwise.
 *  - All state is process-wide; call the library from one thread only.
 *
 * This header compiles as C11 and as C++ with -Wall -Wextra -pedantic.
 */
#ifndef CARTEX32_H
#define CARTEX32_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define CX_CALL __stdcall
#if defined(CARTEX32_BUILD)
/* The DLL's exports come from its .def file alone, under their plain names;
   dllexport would add the decorated name@n of each as well. */
#define CX_VISIBLE
#else
#define CX_VISIBLE __declspec(dllimport)
#endif
#else
#define CX_CALL
#define CX_VISIBLE __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define CX_EXTERN_C extern "C"
#else
#define CX_EXTERN_C
#endif

/* Declares or defines an exported function returning `type`, with the
   library's calling convention (callee-cleans on 32-bit Windows). */
#define CX_EXPORT(type) CX_EXTERN_C CX_VISIBLE type CX_CALL

#ifdef __cplusplus
#define CX_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define CX_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------
 * Byte order, words and copies
 * ------------------------------------------------------------------------ */

/* paselong - a 32-bit number in big-endian byte order.
     value  the number to write; read only
     out    4 bytes the caller owns; receives the bytes most significant
            first
   No result. With a null pointer nothing is written. */
CX_EXPORT(void) paselong(const int32_t* value, uint8_t* out);

/* paseint - a 16-bit number in big-endian byte order.
     value  the number to write; read only
     out    2 bytes the caller owns; receives the bytes most significant
            first
   No result. With a null pointer nothing is written. */
CX_EXPORT(void) paseint(const int16_t* value, uint8_t* out);

/* hi_word - the high 16 bits of value, unsigned: 0..65535. Cannot fail. */
CX_EXPORT(int32_t) hi_word(int32_t value);

/* lo_word - the low 16 bits of value as a signed 16-bit number
   (-32768..32767). Cannot fail. */
CX_EXPORT(int16_t) lo_word(int32_t value);

/* mueva - copies bytes; note the order, source first.
     source       count bytes the caller owns; read only
     destination  count bytes the caller owns; receives the copy
                  (overlapping ranges are copied correctly)
     count        bytes to copy, read as unsigned: 0..65535
   Returns -1, also when a null pointer makes it copy nothing. */
CX_EXPORT(int16_t) mueva(const void* source, void* destination, int16_t count);

/* ------------------------------------------------------------------------
 * Host window, stop request and active flag
 * ------------------------------------------------------------------------ */

/* set_Hwnd - stores the host window.
     window  the host's window handle (0: none): the owner passed to the
             message sink with every message, and on Windows the window
             whose messages long loops dispatch
   Returns -1. Cannot fail. */
CX_EXPORT(int16_t) set_Hwnd(int32_t window);

/* terminar - asks a running redraw of the base (dmoven) to stop at its
   next item. Safe to call from the event pump callback.
     ignored  not read
   No result. */
CX_EXPORT(void) terminar(int32_t ignored);

/* activar_cartex, desactivar_cartex, cartex_activo - the active flag, a
   switch kept for the host; the library itself never reads it.
     ignored  not read
   activar_cartex sets it and returns -1; desactivar_cartex clears it and
   returns 0; cartex_activo returns it: -1 set, 0 clear (the state at
   load). None can fail. */
CX_EXPORT(int16_t) activar_cartex(int32_t ignored);
CX_EXPORT(int16_t) desactivar_cartex(int32_t ignored);
CX_EXPORT(int16_t) cartex_activo(int32_t ignored);

/* ------------------------------------------------------------------------
 * Street address tokenizer
 * ------------------------------------------------------------------------ */

/* Init_Adress - makes blank, '#', '-', '.' and '"' separators and 0-9
   digits for Get_Dir_Token. Call it once before the first Get_Dir_Token;
   before it the whole rest of the text after leading blanks is one token.
   No arguments, no result. */
CX_EXPORT(void) Init_Adress(void);

/* Set_Adress - sets the address text Get_Dir_Token reads.
     text  caller-owned, read during the call only; an upper-cased copy of
           its first 255 characters (a-z only are changed) is kept. A null
           text stores the empty text.
   No result. */
CX_EXPORT(void) Set_Adress(const char* text);

/* Get_Dir_Token - the next token of the address text.
     position  1-based position in the text to start from
     token     256 bytes the caller owns; receives the token (at most 255
               characters and a NUL): one separator, a run of digits, or a
               run of other characters with a '.' that ends it
   Returns the characters consumed, blanks before the token included; the
   caller adds it to its position and calls again until the result is 0.
   Trailing blanks give their count and an empty token. Returns 0 with an
   empty token for a position below 1 or past the text, and 0 without
   writing for a null token buffer. Nothing is reported. */
CX_EXPORT(int16_t) Get_Dir_Token(int16_t position, char* token);

/* ------------------------------------------------------------------------
 * Message sink and event pump (added for hosts on this platform)
 * ------------------------------------------------------------------------ */

/* Message box styles passed to the message callback: one button set, one
   icon, optionally a default-button flag, as on the original platform. */
#define CX_MB_OK 0x0000
#define CX_MB_OKCANCEL 0x0001
#define CX_MB_ABORTRETRYIGNORE 0x0002
#define CX_MB_YESNOCANCEL 0x0003
#define CX_MB_YESNO 0x0004
#define CX_MB_RETRYCANCEL 0x0005
#define CX_MB_TYPEMASK 0x000F
#define CX_MB_ICONSTOP 0x0010
#define CX_MB_ICONQUESTION 0x0020
#define CX_MB_ICONEXCLAMATION 0x0030
#define CX_MB_ICONINFORMATION 0x0040
#define CX_MB_ICONMASK 0x00F0
#define CX_MB_DEFBUTTON2 0x0100
#define CX_MB_DEFBUTTON3 0x0200

/* Buttons a message callback returns. */
#define CX_IDOK 1
#define CX_IDCANCEL 2
#define CX_IDABORT 3
#define CX_IDRETRY 4
#define CX_IDIGNORE 5
#define CX_IDYES 6
#define CX_IDNO 7

/* The host's message callback: shows one message and returns the button
   pressed (a CX_ID* value).
     user     the pointer given to cx_set_message_callback
     owner    the window given to set_Hwnd (0 before it)
     caption  the library's, valid only during the call
     text     the library's, valid only during the call
     style    a CX_MB_* button set, icon and default button
   For plain notices (style CX_MB_OK) the result is ignored. The callback
   has the library's calling convention (__stdcall on 32-bit Windows, as a
   Visual Basic AddressOf function has). */
typedef int32_t(CX_CALL* cx_message_fn)(void* user, int32_t owner, const char* caption,
                                        const char* text, int32_t style);

/* cx_set_message_callback - installs the host's message callback.
     callback  the function every message goes to from now on; null
               restores the default sink: on Windows a modal MessageBoxA
               owned by the set_Hwnd window; elsewhere "caption: text" on
               standard error with every question answered by its safe
               choice (Cancel, No or Abort; nothing is deleted without a
               yes)
     user      passed back unchanged with every call; the host owns what it
               points to and keeps it valid while the callback is installed
   Returns -1. Cannot fail. */
CX_EXPORT(int16_t) cx_set_message_callback(cx_message_fn callback, void* user);

/* The host's event pump: lets the host's pending events run. Long loops
   call it every few items so that the host stays responsive and can call
   terminar. user is the pointer given to cx_set_pump_callback. Same
   calling convention as the exports. */
typedef void(CX_CALL* cx_pump_fn)(void* user);

/* cx_set_pump_callback - installs the host's event pump.
     callback  called by long loops from now on; null removes it. Without
               one, long loops on Windows peek, translate and dispatch the
               messages of the set_Hwnd window themselves (a WM_QUIT met
               there is posted again for the host); elsewhere they let
               nothing run.
     user      passed back unchanged; the host owns it and keeps it valid
               while the pump is installed
   Returns -1. Cannot fail. */
CX_EXPORT(int16_t) cx_set_pump_callback(cx_pump_fn callback, void* user);

/* ------------------------------------------------------------------------
 * Record files
 *
 * Handles are small non-negative integers of the C runtime's files (the
 * host's own opens or the library's; -1: not open). A record file holds
 * record n at byte n x size; record 0 is its header. Record offsets are
 * computed in 64 bits. Every failure has been reported ("LEER: Error en
 * reg. ...") with the file's name, the handle and the highest record
 * present.
 * ------------------------------------------------------------------------ */

/* sverify - whether a file can be opened.
     path  caller-owned file name, relative to the current directory
   Returns -1 when path names a file that can be opened for shared reading
   and writing, 0 when it cannot (or path is null). Nothing is created or
   reported; the test handle is closed again. */
CX_EXPORT(int16_t) sverify(const char* path);

/* sleer - reads one record.
     handle  an open record file
     buffer  size bytes the caller owns; receives the record
     record  the record number, 0 for the header
     size    the record size in bytes, 1..32767
   Returns 0 when the whole record was read; -1 when it is not wholly in the
   file, the handle is not open, buffer is null or size is below 1, after
   "LEER: Error en reg. ..."; a given buffer is then zeroed. */
CX_EXPORT(int16_t) sleer(int16_t handle, void* buffer, int32_t record, int16_t size);

/* sescribir - writes one record; beyond the end the file grows.
     handle  an open record file
     data    size bytes the caller owns; read only
     record  the record number, 0 for the header
     size    the record size in bytes, 1..32767
   Returns 0 when the whole record was written; -1 when the write failed,
   the handle is not open, data is null or size is below 1, after
   "ESCRIBIR: Error reg. ...". */
CX_EXPORT(int16_t) sescribir(int16_t handle, const void* data, int32_t record, int16_t size);

/* lea_bytes - reads bytes at a byte offset.
     handle  an open file
     offset  byte offset from the start of the file
     buffer  count bytes the caller owns; receives the bytes
     count   bytes to read, 0..32767
   Returns 0 when all count bytes were read; -1 when they are not all in
   the file, the handle is not open, buffer is null or count is negative,
   after "LEA_BYTES: Error en reg. ..."; a given buffer is then zeroed. */
CX_EXPORT(int16_t) lea_bytes(int16_t handle, int32_t offset, void* buffer, int16_t count);

/* lea_coord - reads a point list of a block file: count x values (8-byte
   little-endian doubles) from offset, then count y values.
     handle  an open block file
     offset  byte offset of the list
     x, y    count doubles each, caller-owned; receive the coordinates
     count   number of points, 0..32767
   Returns 0 when both halves were read; -1 after "LEA_BYTES: Error en reg.
   ..." when a half is not in the file or the handle is not open (the
   arrays from the half that failed on come back zeroed), or when count is
   negative or x or y is null with points to read (nothing written). */
CX_EXPORT(int16_t) lea_coord(int16_t handle, int32_t offset, double* x, double* y, int16_t count);

/* Host layouts of the topology records. On disk they are packed (sizes in
   the comments); the typed readers spread a packed record into the host
   record (padding bytes come back 0) and the typed writers pack it again.
   Padding fields are ignored on writing. */
#pragma pack(push, 4)

/* Point or line object of OBJETOS.DAT (31 bytes on disk). */
typedef struct cx_object {
  int16_t kind;  /* record number of the kind in TABOBJ.DAT */
  uint8_t layer; /* layer of the kind */
  uint8_t pad3;
  double x, y;      /* anchor point, the point that is indexed */
  int16_t rotation; /* tenths of a degree */
  int16_t pad22;
  int32_t block; /* byte offset of the block in COORDEN.DAT, 0: none */
  int16_t count; /* points in the block; for a text its length + 1 */
  int16_t pad30;
  int32_t area; /* AREAS.DAT record this object outlines, 0: none */
} cx_object;

/* Node of a network's nodo.dat (46 bytes on disk). */
typedef struct cx_node {
  uint8_t code_prefix; /* with code[], the node's 11-byte code key */
  char code[10];
  uint8_t pad11;
  int16_t kind;
  uint8_t state;
  uint8_t pad15;
  double x, y;
  int16_t rotation;
  int16_t pad34;
  int32_t block;
  int16_t count;
  int16_t pad42;
  int32_t area;
  int32_t first_list; /* first entry of the node's arc list, 0: no arc */
} cx_node;

/* Arc of a network's arco.dat (41 bytes on disk). */
typedef struct cx_arc {
  int16_t kind;
  uint8_t state;
  uint8_t pad3;
  double xmin, ymin; /* of all the arc's points, end nodes included */
  int16_t width;     /* (xmax - xmin) x 0.0004, truncated: cells of 2500 */
  int16_t pad22;
  int32_t block; /* intermediate points in the network's coo.dat */
  int16_t count; /* number of intermediate points */
  int16_t pad30;
  int32_t first_desc; /* first description entry in desc.dat, 0: none */
  int32_t from_node;
  uint8_t from_flag;
  uint8_t pad41[3];
  int32_t to_node;
  uint8_t to_flag;
  uint8_t pad49[3];
} cx_arc;

/* Area object of a network's objs.dat (48 bytes on disk). */
typedef struct cx_area_object {
  char code[13]; /* two-digit layer prefix and the area's code */
  uint8_t pad13[3];
  int16_t kind;
  uint8_t state;
  uint8_t pad19;
  double x, y; /* label point */
  int16_t rotation;
  int16_t pad38;
  int32_t block;
  int16_t count;
  int16_t pad46;
  int32_t area;
  int32_t first_desc; /* first description record in desc.dat, 0: none */
} cx_area_object;

#pragma pack(pop)
#pragma pack(push, 2)

/* Coded area of AREAS.DAT (29 bytes on disk). */
typedef struct cx_area {
  char code[13]; /* two-digit layer prefix and 11 characters */
  uint8_t pad13;
  int32_t object;   /* OBJETOS.DAT record of the outline object */
  int32_t value[3]; /* area value fields */
} cx_area;

#pragma pack(pop)

CX_STATIC_ASSERT(offsetof(cx_object, kind) == 0 && offsetof(cx_object, layer) == 2 &&
                     offsetof(cx_object, x) == 4 && offsetof(cx_object, y) == 12 &&
                     offsetof(cx_object, rotation) == 20 && offsetof(cx_object, block) == 24 &&
                     offsetof(cx_object, count) == 28 && offsetof(cx_object, area) == 32 &&
                     sizeof(cx_object) == 36,
                 "cx_object host layout");
CX_STATIC_ASSERT(offsetof(cx_node, code_prefix) == 0 && offsetof(cx_node, code) == 1 &&
                     offsetof(cx_node, kind) == 12 && offsetof(cx_node, state) == 14 &&
                     offsetof(cx_node, x) == 16 && offsetof(cx_node, y) == 24 &&
                     offsetof(cx_node, rotation) == 32 && offsetof(cx_node, block) == 36 &&
                     offsetof(cx_node, count) == 40 && offsetof(cx_node, area) == 44 &&
                     offsetof(cx_node, first_list) == 48 && sizeof(cx_node) == 52,
                 "cx_node host layout");
CX_STATIC_ASSERT(offsetof(cx_arc, kind) == 0 && offsetof(cx_arc, state) == 2 &&
                     offsetof(cx_arc, xmin) == 4 && offsetof(cx_arc, ymin) == 12 &&
                     offsetof(cx_arc, width) == 20 && offsetof(cx_arc, block) == 24 &&
                     offsetof(cx_arc, count) == 28 && offsetof(cx_arc, first_desc) == 32 &&
                     offsetof(cx_arc, from_node) == 36 && offsetof(cx_arc, from_flag) == 40 &&
                     offsetof(cx_arc, to_node) == 44 && offsetof(cx_arc, to_flag) == 48 &&
                     sizeof(cx_arc) == 52,
                 "cx_arc host layout");
CX_STATIC_ASSERT(offsetof(cx_area_object, code) == 0 && offsetof(cx_area_object, kind) == 16 &&
                     offsetof(cx_area_object, state) == 18 && offsetof(cx_area_object, x) == 20 &&
                     offsetof(cx_area_object, y) == 28 &&
                     offsetof(cx_area_object, rotation) == 36 &&
                     offsetof(cx_area_object, block) == 40 &&
                     offsetof(cx_area_object, count) == 44 &&
                     offsetof(cx_area_object, area) == 48 &&
                     offsetof(cx_area_object, first_desc) == 52 && sizeof(cx_area_object) == 56,
                 "cx_area_object host layout");
CX_STATIC_ASSERT(offsetof(cx_area, code) == 0 && offsetof(cx_area, object) == 14 &&
                     offsetof(cx_area, value) == 18 && sizeof(cx_area) == 30,
                 "cx_area host layout");

/* sleer_obj, sleer_nod, sleer_arc, sleer_top, sleer_are - typed reads:
   record `record` of an OBJETOS.DAT, nodo.dat, arco.dat, objs.dat or
   AREAS.DAT file spread into its host record.
     handle   an open file of the record type
     object, node, arc, area
              the caller's host record; receives the fields, padding 0
     record   the record number
     ignored  not read (the packed size of the type is used)
   Returns 0 when the packed record was read; -1 after "LEER: Error en reg.
   ..." when it is not wholly in the file, the handle is not open or the
   record pointer is null. A given host record is then zeroed whole. */
CX_EXPORT(int16_t) sleer_obj(int16_t handle, cx_object* object, int32_t record, int16_t ignored);
CX_EXPORT(int16_t) sleer_nod(int16_t handle, cx_node* node, int32_t record, int16_t ignored);
CX_EXPORT(int16_t) sleer_arc(int16_t handle, cx_arc* arc, int32_t record, int16_t ignored);
CX_EXPORT(int16_t)
sleer_top(int16_t handle, cx_area_object* object, int32_t record, int16_t ignored);
CX_EXPORT(int16_t) sleer_are(int16_t handle, cx_area* area, int32_t record, int16_t ignored);

/* sescribir_obj, sescribir_nod, sescribir_arc, sescribir_top, sescribir_are
   - typed writes: the host record packed and written as record `record`.
     handle   an open file of the record type
     object, node, arc, area
              the caller's host record; read only, padding ignored
     record   the record number; beyond the end the file grows
     size     the record size of the file: at least the packed size (31,
              46, 41, 48, 29); bytes beyond the packed record are written as
              zeros
   Returns 0 when the record was written; -1 after "ESCRIBIR: Error reg.
   ..." when the write failed, the handle is not open, the record pointer
   is null or size is smaller than the packed record (nothing written). */
CX_EXPORT(int16_t)
sescribir_obj(int16_t handle, const cx_object* object, int32_t record, int16_t size);
CX_EXPORT(int16_t) sescribir_nod(int16_t handle, const cx_node* node, int32_t record, int16_t size);
CX_EXPORT(int16_t) sescribir_arc(int16_t handle, const cx_arc* arc, int32_t record, int16_t size);
CX_EXPORT(int16_t)
sescribir_top(int16_t handle, const cx_area_object* object, int32_t record, int16_t size);
CX_EXPORT(int16_t) sescribir_are(int16_t handle, const cx_area* area, int32_t record, int16_t size);

/* ------------------------------------------------------------------------
 * Session: layers, object kinds, settings, parameters, limits, work area,
 * legend and the world window
 *
 * The base is the current directory. inigks opens the session, end_cons
 * ends it. Layer numbers run from 1 to the number of layers of TABCAP.DAT,
 * kind numbers from 1 to the number of kinds of TABOBJ.DAT (0 is each
 * table's default entry). A layer or kind outside the loaded table (any,
 * while no session is open) is refused with "<function>: CAPA n NO EXISTE
 * (hay m capas)" or "<function>: TIPO DE OBJETO n NO EXISTE (hay m
 * tipos)", a null pointer with "<function>: PUNTERO NULO", a negative
 * count with "<function>: CANTIDAD NEGATIVA n"; each function says what it
 * returns then. Nothing is read or written on a refusal.
 * ------------------------------------------------------------------------ */

/* A layer record of TABCAP.DAT, byte for byte as on disk. */
typedef struct cx_layer {
  char name[31];          /* NUL-terminated */
  uint8_t hidden;         /* 0: drawn; other values: not drawn */
  uint8_t attributes[3];  /* drawing attributes */
  uint8_t kind;           /* 0, 1: T0 objects; 2: node and arc network; 3: area network */
  uint8_t code_prefix[2]; /* digits 0..9 of the area code prefix */
  char network_prefix[5]; /* network file prefix, NUL-terminated */
} cx_layer;

/* An object-kind record of TABOBJ.DAT, byte for byte as on disk. */
typedef struct cx_kind {
  char name[31];
  uint8_t colour;   /* palette index */
  uint8_t geometry; /* 1 text, 3 node, 4 arc, others point lists */
  uint8_t line_type;
  uint8_t text_size;
  uint8_t layer;
  uint8_t hidden; /* 0: drawn */
  uint8_t no_code_label;
  char attribute_base[22];
  uint8_t hatch;
  uint8_t line_width;
  uint8_t text_scale[2]; /* tenths, 16-bit little-endian */
  uint8_t hatch_step;
  uint8_t text_style;
  uint8_t level;
  uint8_t code_form; /* 1: 10-byte street address codes */
  uint8_t storage;   /* attribute base storage type 0..3 */
  uint8_t symbol;    /* icon (TABICO.DAT record) of point kinds, 0 none */
} cx_kind;

#pragma pack(push, 4)
/* One legend slot. */
typedef struct cx_legend_slot {
  int16_t index; /* 0..16 */
  int16_t pad2;
  double value;          /* class value */
  int16_t a, b, c, d, e; /* attributes; a is the colour */
  char label[30];        /* NUL-padded */
} cx_legend_slot;
#pragma pack(pop)

CX_STATIC_ASSERT(sizeof(cx_layer) == 43 && offsetof(cx_layer, hidden) == 31 &&
                     offsetof(cx_layer, kind) == 35 && offsetof(cx_layer, code_prefix) == 36 &&
                     offsetof(cx_layer, network_prefix) == 38,
                 "cx_layer layout");
CX_STATIC_ASSERT(sizeof(cx_kind) == 70 && offsetof(cx_kind, colour) == 31 &&
                     offsetof(cx_kind, layer) == 35 && offsetof(cx_kind, hidden) == 36 &&
                     offsetof(cx_kind, attribute_base) == 38 && offsetof(cx_kind, hatch) == 60 &&
                     offsetof(cx_kind, text_scale) == 62 && offsetof(cx_kind, level) == 66 &&
                     offsetof(cx_kind, storage) == 68,
                 "cx_kind layout");
CX_STATIC_ASSERT(offsetof(cx_legend_slot, index) == 0 && offsetof(cx_legend_slot, value) == 4 &&
                     offsetof(cx_legend_slot, a) == 12 && offsetof(cx_legend_slot, e) == 20 &&
                     offsetof(cx_legend_slot, label) == 22 && sizeof(cx_legend_slot) == 52,
                 "cx_legend_slot layout");

/* inigks - opens the session on the base of the current directory (ending
   an open one first): loads the layer and kind tables; resets settings
   1, 5, 14..16, 18, 19, 24 and 25 to 0 and 6 to 1, the parameters (p1
   2.5, p9 2500), the grid, the work area and the base's expression
   variables.
     ignored  not read
   Returns 0, also when a table is missing (it is reported, as in
   "ADVERTENCIA: TABLA TABCAP.DAT  no existe", and holds its default entry
   alone) or memory runs short ("ERROR DE MEMORIA..."). */
CX_EXPORT(int16_t) inigks(int32_t ignored);
/* end_cons - ends the session: closes the current layer's files and frees
   the tables, the limits polygon, the work area and every session array.
     ignored  not read
   Returns 0. Cannot fail; without a session it changes nothing. */
CX_EXPORT(int16_t) end_cons(int32_t ignored);
/* inifil - prepares the base's files: opens the attribute bases, creates
   missing T0 indexes and the files of each network layer with a prefix.
     ignored  not read
   Returns 0; a file that cannot be created has been reported. */
CX_EXPORT(int16_t) inifil(int32_t ignored);

/* set_consts, get_consts - the numbered settings 1..25.
     code   the setting. 24 selects the current layer (0: none), closing
            the files of the one before and opening its own; 25 selects the
            current object kind (0: none)
     value  the new value
   set_consts returns value when stored; 0 when code 24 or 25 names a layer
   or kind outside the table (refused, reported), and value, storing
   nothing, for a code outside 1..25. get_consts returns the setting, 0 for
   a code outside 1..25. */
CX_EXPORT(int16_t) set_consts(int16_t code, int16_t value);
CX_EXPORT(int16_t) get_consts(int16_t code);

/* set_capas, get_capas, set_objetos, get_objetos - the display switch of a
   layer or an object kind (0: drawn; other values: not drawn).
     layer, kind  the record, 0 for the table's default entry
     hidden       the new switch, stored as one byte (-1 is kept as 255)
   set_capas and set_objetos return hidden as given; get_capas and
   get_objetos return the stored byte, 0..255. For a layer or kind outside
   the table all four return 0 after the report, which reads as "drawn". */
CX_EXPORT(int16_t) set_capas(int16_t layer, int16_t hidden);
CX_EXPORT(int16_t) get_capas(int16_t layer);
CX_EXPORT(int16_t) set_objetos(int16_t kind, int16_t hidden);
CX_EXPORT(int16_t) get_objetos(int16_t kind);

/* set_tcapas, get_tcapas, set_tobjetos, get_tobjetos - a whole layer or
   kind record copied in or out.
     layer, kind  the record, 0 for the table's default entry
     record       the caller's record: read by set_, filled by get_
   No result; a refused number or null record has been reported and the
   record is left as it was. set_tobjetos also makes the kind's layer
   field its layer for drawing. */
CX_EXPORT(void) set_tcapas(int16_t layer, const cx_layer* record);
CX_EXPORT(void) get_tcapas(int16_t layer, cx_layer* record);
CX_EXPORT(void) set_tobjetos(int16_t kind, const cx_kind* record);
CX_EXPORT(void) get_tobjetos(int16_t kind, cx_kind* record);

/* set_grid, get_grid - the grid: a switch (setting 14) and five values.
     on      the switch
     g1..g5  the values; get_grid's are caller-owned doubles it fills
   No result. set_grid cannot fail; get_grid writes nothing when a pointer
   is null. */
CX_EXPORT(void) set_grid(int16_t on, double g1, double g2, double g3, double g4, double g5);
CX_EXPORT(void) get_grid(int16_t* on, double* g1, double* g2, double* g3, double* g4, double* g5);

/* set_params, get_params - the thirteen parameters, each through a pointer
   to the caller's variable: p1..p9 sizes and margins (p1 the base size, p8
   the search margin, p9 half the window width), p10 the units of measures
   (setting 10), p11 and p12 graphics kernel values (the y axis direction
   and the kernel state; read only), p13 the node search tolerance.
   set_params reads all but p11 and p12, which may be null; get_params
   fills all thirteen. No result; a null pointer among those used is
   refused and nothing is stored or written. */
CX_EXPORT(void)
set_params(const double* p1, const double* p2, const double* p3, const double* p4, const double* p5,
           const double* p6, const double* p7, const double* p8, const double* p9,
           const int16_t* p10, const int16_t* p11, const int16_t* p12, const double* p13);
CX_EXPORT(void)
get_params(double* p1, double* p2, double* p3, double* p4, double* p5, double* p6, double* p7,
           double* p8, double* p9, int16_t* p10, int16_t* p11, int16_t* p12, double* p13);

/* set_lims - replaces the limits polygon.
     count  number of points, 0 removes the polygon
     x, y   count doubles each, caller-owned, read only; the points are
            kept in single precision
   Returns 0 in every case: on success, and also when a negative count or a
   null array is refused (the polygon is kept) or memory runs short
   ("ERROR de memoria : LXE; X: abortar ->", or LYE: the polygon is
   removed). The message sink is the only sign of failure. */
CX_EXPORT(int16_t) set_lims(int16_t count, const double* x, const double* y);
/* get_lims - the limits polygon.
     count  the caller's variable; receives the number of points (0: none)
     x, y   caller-owned arrays as long as the count set_lims kept; receive
            the points. May be null when there are none.
   No result; a null count, or a null array with points to give, is
   refused and nothing is written. */
CX_EXPORT(void) get_lims(int16_t* count, double* x, double* y);

/* set_descr - the description polygon.
     count  number of points; the first 900 are kept
     x, y   count doubles each, caller-owned, read only
   No result; a negative count, a null array, or no open session is
   refused and the polygon is kept. */
CX_EXPORT(void) set_descr(int16_t count, const double* x, const double* y);

/* set_workpol - makes a polygon the work area (mode 1, setting 2; setting
   17 the count).
     count  number of points
     x, y   count doubles each, caller-owned, read only; kept in single
            precision
   Returns 0 in every case: also when a negative count or a null array is
   refused (the work area is kept), and when memory runs short (reported;
   the work area is then an empty polygon). */
CX_EXPORT(int16_t) set_workpol(int16_t count, const double* x, const double* y);
/* set_workxy - makes the rectangle of two opposite corners the work area
   (mode 3). No result; cannot fail. */
CX_EXPORT(void) set_workxy(double x1, double y1, double x2, double y2);
/* set_workcirc - makes the circle of centre (cx, cy) and radius r the work
   area (mode 2). No result; cannot fail. */
CX_EXPORT(void) set_workcirc(double cx, double cy, double r);
/* get_work_extents - the extents of the work area.
     xmin, ymin, xmax, ymax  the caller's variables; receive the extents
   Returns the mode: 0 none, 1 polygon, 2 circle, 3 rectangle, 4 an area
   object's boundary. With a null pointer nothing is written (reported)
   and the mode is still returned. */
CX_EXPORT(int16_t)
get_work_extents(double* xmin, double* ymin, double* xmax, double* ymax);

/* set_convens, get_convens - legend slots 0..16, chosen by record->index.
     record  the caller's slot: set_convens reads it all; get_convens
             reads index and fills value, a..e and label (NUL-padded)
   No result; a null record, or an index outside 0..16 ("set_convens:
   CONVENCION n FUERA DE 0..16"), is refused. */
CX_EXPORT(void) set_convens(const cx_legend_slot* record);
CX_EXPORT(void) get_convens(cx_legend_slot* record);
/* set_convxy, get_convxy - the legend's placement, two corners, each
   through a pointer to the caller's variable. No result; with a null
   pointer nothing is stored or written. */
CX_EXPORT(void) set_convxy(const double* x1, const double* y1, const double* x2, const double* y2);
CX_EXPORT(void) get_convxy(double* x1, double* y1, double* x2, double* y2);

/* get_video - the world window.
     xmin, ymin, xmax, ymax  the caller's variables; receive the window
   No result; with a null pointer nothing is written. */
CX_EXPORT(void) get_video(double* xmin, double* ymin, double* xmax, double* ymax);
/* set_video - sets the world window from two opposite corners: orders
   them, makes each side at least 1 and widens one axis to the shape of
   the device (square when no device is bound). No result; cannot fail. */
CX_EXPORT(void) set_video(double x1, double y1, double x2, double y2);
/* initst - resets the world window and its history of 5 windows to (0, 0,
   2000000, 2000000).
     ignored  not read
   Returns 0. Cannot fail. */
CX_EXPORT(int16_t) initst(int32_t ignored);
/* dmoven - keeps the world window in the history (when it differs from
   the last one kept) and redraws the base in it; terminar stops the
   redraw.
     ignored  not read
   No result. */
CX_EXPORT(void) dmoven(int32_t ignored);
/* last_window - goes back to the window before in the history (after the
   oldest of the 5, round to the newest).
     ignored  not read
   No result. */
CX_EXPORT(void) last_window(int32_t ignored);
/* zoom_in, zoom_out - narrow or widen the world window by an eighth of its
   width on each side, without redrawing; zoom_out keeps xmin and ymin at
   0 or above.
     ignored  not read
   No result. */
CX_EXPORT(void) zoom_in(int32_t ignored);
CX_EXPORT(void) zoom_out(int32_t ignored);

/* ------------------------------------------------------------------------
 * Formulas and variables
 *
 * Formulas read named variables: up to 500, numbered from 1. External
 * variables belong to the host (ins_external_var); bound variables show
 * values of the library: "hoy" (date), "secuencial", "area", "long" and
 * "codigo" (init_base_variables), and the fields of the open attribute
 * bases. A formula writes a host variable upper-cased or in square brackets
 * ([name] is upper-cased), and the bound ones as they are registered.
 *
 * Operators, from the tightest: @ (keeps its left operand, drops the right);
 * ^ (power, to the right: 2^3^2 is 2^9); * / % # < = > (% is left x right /
 * 100, # is "not equal", < is "at most", > is "at least"); + - ! | & ~ :
 * (! and | are "or", & "and", ~ "and not": 1 when the left is true and the
 * right false). Operators of one class associate to the left: 10-4-3 is 3
 * and 1+2=3 is 1+(2=3). / by 0 gives 0. + and the other numeric operators
 * read a text as its leading number ('10'+5 is 15); = # < > compare two
 * texts byte by byte and otherwise numbers. A true value is a non-zero
 * number or a non-empty text. ':' cuts a text to a length (0..58), takes a
 * text from a 0-based position (number:text), or rounds a number to 0..4
 * decimals (its text then holds the written form). Functions: if(c, a, b),
 * not, sin, cos, tan, atan, abs, neg, frac, round (half away from zero),
 * int (towards zero), sqrt, sqr, log and ln (both natural), min(a, b),
 * max(a, b). -5 is one constant; a minus in front of a name is not.
 * ------------------------------------------------------------------------ */

/* Translation results of inspector, parse and evaluar. CX_EXPR_TOO_LONG:
   more than 999 constants of a kind, 30 brackets open at once or 40 pending
   values and operators, or (parse) pseudo-code of more than 255 characters. */
#define CX_EXPR_OK 0
#define CX_EXPR_OPERAND 1   /* an unknown name or a missing operand */
#define CX_EXPR_CHARACTER 2 /* an unexpected character after an operand */
#define CX_EXPR_OPEN 3      /* a bracket still open at the end */
#define CX_EXPR_CLOSE 4     /* a closing bracket too many */
#define CX_EXPR_ARGUMENTS 5 /* wrong number of arguments of if, min, max or a bracket */
#define CX_EXPR_TOO_LONG 6  /* too long or too deeply nested */

/* The value of a formula (104 bytes, in its natural layout). */
typedef struct cx_valor_expr {
  double number;  /* a number; for a text, its leading number */
  int32_t vector; /* vector mode: 1 when the result is a vector kept by the library */
  int16_t kind;   /* 0 number, 1 text */
  char text[90];  /* NUL-terminated */
} cx_valor_expr;

#pragma pack(push, 4)
/* A variable's or a field's value as read out (104 bytes; the number is at
   offset 4, so the record is 4-byte aligned: copy the number out rather
   than take its address). */
typedef struct cx_var_value {
  int16_t kind; /* 0 number, 1 text */
  int16_t pad2;
  double number; /* for a text, its leading number */
  char text[90]; /* NUL-terminated; empty for numbers */
} cx_var_value;
#pragma pack(pop)

#pragma pack(push, 2)
/* A field of an attribute base as get_varname describes it (74 bytes). */
typedef struct cx_varname {
  int16_t type;     /* value type of the field */
  char name[35];    /* the variable name formulas use, NUL-terminated */
  char caption[35]; /* the field's name in its definition, NUL-terminated */
  int16_t width;    /* display width */
} cx_varname;

/* One formula text of the current thematic query (258 bytes). */
typedef struct cx_formula_text {
  char text[256]; /* NUL-terminated, at most 255 characters */
  int16_t zero;   /* always 0 */
} cx_formula_text;
#pragma pack(pop)

CX_STATIC_ASSERT(offsetof(cx_valor_expr, number) == 0 && offsetof(cx_valor_expr, vector) == 8 &&
                     offsetof(cx_valor_expr, kind) == 12 && offsetof(cx_valor_expr, text) == 14 &&
                     sizeof(cx_valor_expr) == 104,
                 "cx_valor_expr layout");
CX_STATIC_ASSERT(offsetof(cx_var_value, kind) == 0 && offsetof(cx_var_value, number) == 4 &&
                     offsetof(cx_var_value, text) == 12 && sizeof(cx_var_value) == 104,
                 "cx_var_value layout");
CX_STATIC_ASSERT(offsetof(cx_varname, type) == 0 && offsetof(cx_varname, name) == 2 &&
                     offsetof(cx_varname, caption) == 37 && offsetof(cx_varname, width) == 72 &&
                     sizeof(cx_varname) == 74,
                 "cx_varname layout");
CX_STATIC_ASSERT(offsetof(cx_formula_text, zero) == 256 && sizeof(cx_formula_text) == 258,
                 "cx_formula_text layout");

/* Appends an external variable of `type` (1, 6, 8: 16-bit; 2, 11: double;
   3: float; 4, 9, 10: text; 5, 13: date; 7: character; 12: 32-bit) with a
   zeroed 90-byte value block owned by the library. The name is copied (34
   characters at most) and upper-cased. Returns the variable's number; 0 for
   a null name, a full table ("ERROR EN TABLA DE VARS") or a failed
   allocation ("ERROR EN MEMORIA - TABLA DE VARS"). */
CX_EXPORT(int16_t) ins_external_var(const char* name, int16_t type);

/* Store a number or a text in variable `number`. An external variable takes
   the value and the type 2 (a number) or 4 (a text, cut at 89 characters).
   A bound variable keeps its type: a number is stored as that type (refused
   outside its range: -32768..32767 for 16-bit, 0..255 for a character; text,
   date and vector variables take no number), a text only in a text variable
   whose storage holds it. A number that names no variable, and every refused
   value, is reported ("VARIABLE ...") and stores nothing. A null text is the
   empty text. */
CX_EXPORT(void) set_num_var(int16_t number, double value);
CX_EXPORT(void) set_alfa_var(int16_t number, const char* text);

/* Writes variable `number` read by its type into *out: texts as kind 1 with
   their leading number, dates as their day number (type 5: year x 360 +
   (month - 1) x 30 + day - 1; type 13: year x 365 + days before the month +
   day - 1), a character as its code, other numbers as kind 0. An unknown
   number reads as the number 0. A null out is ignored. */
CX_EXPORT(void) get_var_value(int16_t number, cx_var_value* out);

/* Zeroes the value block of every external variable. Returns 0. */
CX_EXPORT(int16_t) clear_external_vars(void);

/* Frees every external variable. Bound variables keep their numbers, even
   those registered after the host's (the attribute bases' fields); the count
   drops to the highest number still in use, and freed numbers below it are
   given again by later insertions. */
CX_EXPORT(void) free_external_vars(void);

/* Registers the five built-in variables ("hoy" = 96/1/1, the others 0);
   registering them again keeps their numbers. Returns -1. */
CX_EXPORT(int16_t) init_base_variables(void);

/* Translates a formula into pseudo-code. Returns the pseudo-code, which the
   library owns and keeps until the next translation (inspector, parse,
   evaluar); the host never frees it. Null when the formula does not
   translate (or is null): parse and evaluar return the reason. */
CX_EXPORT(const char*) inspector(const char* formula);

/* buffer holds the formula in its first 256 bytes (cut at 255 characters)
   and must have 512 bytes. Returns the CX_EXPR_* code; on success the
   pseudo-code and its NUL are at buffer + 256. Pseudo-code that would not
   fit in those 256 bytes is CX_EXPR_TOO_LONG and nothing is written there.
   A null buffer gives CX_EXPR_OPERAND. */
CX_EXPORT(int16_t) parse(char* buffer);

/* Evaluates pseudo-code of the last translation into *out. Pseudo-code that
   is not well formed (edited by hand) gives the number 0. A null out is
   ignored. */
CX_EXPORT(void) evalue_sum(const char* pseudo, cx_valor_expr* out);

/* Translates formula and, when it translates, evaluates it into *out.
   Returns the CX_EXPR_* code; on failure *out is left as it was. */
CX_EXPORT(int16_t) evaluar(const char* formula, cx_valor_expr* out);

/* Keep and give back the two formula texts of the current thematic query,
   each cut at 255 characters (a null text is empty). set_formulas returns
   0. Null records are ignored. */
CX_EXPORT(int16_t) set_formulas(const char* text1, const char* text2);
CX_EXPORT(void) get_formulas(cx_formula_text* out1, cx_formula_text* out2);

/* -1 when attribute base `base` is open and has label placement fields,
   else 0. */
CX_EXPORT(int16_t) hay_graf(int16_t base);

/* The number of fields of open base `base` with a non-zero type; 0 when it
   is not open. */
CX_EXPORT(int16_t) get_nvars(int16_t base);

/* Describes the field with 1-based `ordinal` among those get_nvars counts.
   Returns the ordinal reached: `ordinal` when the field exists, else the
   number of such fields (0 when the base is not open), with *out zeroed. */
CX_EXPORT(int16_t) get_varname(int16_t base, int16_t ordinal, cx_varname* out);

/* The field's value in the current record: numeric types as numbers, dates
   as the text "dd/mm/yy" with "%2d" fields (day, month, year), a character
   as a one-character text, texts with their leading number. Returns the
   ordinal reached as get_varname does; *out is zeroed when there is no such
   field. */
CX_EXPORT(int16_t) get_value(int16_t base, int16_t ordinal, cx_var_value* out);

/* ------------------------------------------------------------------------
 * Devices (added for hosts on this platform)
 *
 * The library draws on devices of its own: a device is a surface of
 * width x height pixels of 32 bits, white when made. Its handle is a small
 * positive number, never a pointer; it is what hosts pass where a device
 * context is expected (vb_sethdcxy, gabrest, gapunto). Handles are not
 * reused, so a released handle names nothing. Failures are reported
 * through the message sink.
 * ------------------------------------------------------------------------ */

/* Makes a device of ancho x alto pixels (each 1..32767, at most 2^27 in
   all). Returns its handle, or 0 for a size out of range or when memory
   runs out. The library owns the device until liberar_dispositivo. */
CX_EXPORT(int32_t) crear_dispositivo(int32_t ancho, int32_t alto);

/* Saves the device's pixels as an 8-bit RGB PNG file at ruta (replaced if
   it exists). Returns 0, or -1 for an unknown handle, a null or empty path,
   a file that cannot be written (no partial file is left), or a build of
   the library without PNG support (the 32-bit Windows DLL). */
CX_EXPORT(int16_t) guardar_png(int32_t hdc, const char* ruta);

/* Copies the pixels into buffer, which the caller owns and sizes to
   width x height x 4 bytes: rows top to bottom, each pixel the bytes red,
   green, blue, 0. Returns 0, or -1 for an unknown handle or a null buffer
   (nothing is written). */
CX_EXPORT(int16_t) copiar_pixeles(int32_t hdc, uint8_t* buffer);

/* Destroys the device. If it is the device the drawing functions are bound
   to, they draw nothing until another is bound. Returns 0, or -1 for a
   handle that names no device. */
CX_EXPORT(int16_t) liberar_dispositivo(int32_t hdc);

/* ------------------------------------------------------------------------
 * Drawing into a host's own device context (the Windows DLL)
 *
 * The device handle the drawing functions take is always one of the
 * library's handles: a host that wants the library to draw into its own
 * GDI device context (a window's, a printer's or a memory bitmap's) first
 * wraps the HDC in a handle with envolver_hdc, then passes that handle to
 * gabrest, vb_sethdcxy and gapunto as it would a raster device's. The
 * library draws straight into the context (pens, brushes, Polyline,
 * Ellipse, Rectangle, SetPixel, SetROP2 and a rectangular clip region).
 * ------------------------------------------------------------------------ */

/* Wraps the device context hdc (an HDC, which fits 32 bits in the 32-bit
   DLL) in a device handle. The device's size is that of the bitmap
   selected in a memory context, else the context's HORZRES x VERTRES. The
   library saves the context's state (SaveDC) when wrapping it and gives it
   back (RestoreDC) on liberar_dispositivo; the host owns the context and
   keeps it alive until then. copiar_pixeles reads the context's pixels;
   guardar_png fails as on every device of the DLL. Returns the handle, or
   0 (with a message) when hdc is no device context, when the library is
   not the Windows DLL (no GDI), or when no handle is left. */
CX_EXPORT(int32_t) envolver_hdc(int32_t hdc);

/* ------------------------------------------------------------------------
 * Graphics state, windows and world transform
 *
 * World coordinates are doubles; device coordinates are pixels of the bound
 * device with y downward. Viewport and clip values are 16-bit pixels
 * measured upward from the bottom of the device rectangle (its height is
 * the y1 given to gabrest or vb_sethdcxy). There are four windows, 0..3;
 * any other window number is taken as window 0. Every drawing function
 * draws nothing while no device is bound, or after the bound device has
 * been released. Out pointers may be null (nothing is written there).
 * ------------------------------------------------------------------------ */

/* Binds device hdc and the device rectangle (x0, y0, x1, y1) and resets:
   every window becomes the identity map of the device in upward pixels,
   window 0 is current, the y-direction flag is 1, line type and width 1,
   text and hatch settings their defaults. Palette, colour index and
   exclusive-or mode are kept. Returns 0. */
CX_EXPORT(int16_t) gabrest(int16_t x0, int16_t y0, int16_t x1, int16_t y1, int32_t hdc);
/* Stores the device and its rectangle only; no window is recomputed.
   Returns 0. */
CX_EXPORT(int16_t) vb_sethdcxy(int32_t hdc, int16_t x0, int16_t y0, int16_t x1, int16_t y1);
/* Sets up drawing on the bound device: loads the stroke font (tabtvec.dat
   of the data folder: $CARTEX32_DATA_DIR, else the installed one) and the
   icons of the base (tabico.dat, else the data folder's; names in any
   letter case); a missing file leaves its table empty, silently. Selects
   a blue pen and the clip region (0, 0, 100, 100) in device pixels. The
   argument is ignored; returns 0. */
CX_EXPORT(int16_t) ginicie(int32_t ignored);
/* Frees the icon table and lifts the device's clip region. Returns 0. */
CX_EXPORT(int16_t) gfinalice(int32_t ignored);

/* Writes the aspect factor (always 1.0). Returns 1. */
CX_EXPORT(int16_t) gaaspect(double* aspect);
/* Sets the world rectangle of window w (corners ordered) and makes it
   current; a degenerate viewport becomes the device rectangle. Returns 0. */
CX_EXPORT(int16_t) gdmundo(int16_t w, double x1, double y1, double x2, double y2);
CX_EXPORT(int16_t) gamundo(int16_t w, double* x1, double* y1, double* x2, double* y2);
/* Sets the viewport and clip rectangle of window w and makes it current; a
   degenerate world rectangle becomes the viewport (world units are pixels).
   Returns 1. gavista reads the viewport and returns 0. */
CX_EXPORT(int16_t) gdvista(int16_t w, int16_t vx1, int16_t vy1, int16_t vx2, int16_t vy2);
CX_EXPORT(int16_t) gavista(int16_t w, int16_t* vx1, int16_t* vy1, int16_t* vx2, int16_t* vy2);
/* Sets the clip rectangle of window w and the current one, and makes it the
   device's clip region at once (whichever window is current). gdtransf
   later copies a window's values but leaves the region. Returns 1. */
CX_EXPORT(int16_t) gdrecorte(int16_t w, int16_t x1, int16_t y1, int16_t x2, int16_t y2);
CX_EXPORT(int16_t) garecorte(int16_t w, int16_t* x1, int16_t* y1, int16_t* x2, int16_t* y2);
/* Recomputes window w's transform (one scale for both axes, the smaller, so
   the map is never stretched) and makes it current. Returns w (0 for a
   number outside 0..3). gatransf returns the current window. */
CX_EXPORT(int16_t) gdtransf(int16_t w);
CX_EXPORT(int16_t) gatransf(void);
/* Imposes scales on the current window without changing its world
   rectangle; with the y-direction flag at 1, pass a negative sy for world y
   upward. Returns 1. gaescala reads the current scales. */
CX_EXPORT(int16_t) gdescala(double sx, double sy);
CX_EXPORT(void) gaescala(double* sx, double* sy);
/* Sets the y-direction flag (non-zero: world y grows up the screen) and
   recomputes the current window when it changed. Returns the previous flag;
   garotary returns the flag. */
CX_EXPORT(int16_t) gdrotary(int16_t flag);
CX_EXPORT(int16_t) garotary(void);
/* World to device: truncated toward zero, saturated to the 32-bit range. */
CX_EXPORT(int32_t) gxdev(double x);
CX_EXPORT(int32_t) gydev(double y);
/* Rotations by sine s and cosine c: x' = c x - s y, y' = c y + s x. grota_i
   takes s and c scaled by 2^23 and keeps to coordinates within +-255;
   int_rota takes the angle in radians, results truncated (saturated to
   16 bits). */
CX_EXPORT(void) grota(double x, double y, double s, double c, double* xr, double* yr);
CX_EXPORT(void) grota_i(int16_t x, int16_t y, int32_t s, int32_t c, int16_t* xr, int16_t* yr);
CX_EXPORT(void) int_rota(int16_t x, int16_t y, double angle, int16_t* xr, int16_t* yr);
/* Writes the distance between the points. Returns 0. */
CX_EXPORT(int16_t) distancia_VB(double x1, double y1, double x2, double y2, double* d);
/* Writes the direction of the vector from point 1 to point 2 in radians,
   0 <= angle < 2 pi (a null vector gives 3 pi / 2); returns it in whole
   degrees, truncated. */
CX_EXPORT(int32_t) calc_ang(double x1, double y1, double x2, double y2, double* angle);
/* Does nothing. */
CX_EXPORT(void) set_win_cliparea(int32_t a, int32_t b, int32_t c, int32_t d);

/* ------------------------------------------------------------------------
 * Drawing attributes and primitives
 *
 * Colours are COLORREF values 0x00BBGGRR. The palette holds 256 of them; a
 * colour index is taken modulo 256 and a line type modulo 10 (both as
 * non-negative remainders), so no value reaches past a table. Line types:
 * 0 and 1 solid, 2 dot, 3 dash, 4 dash-dot, 5 dash-dot-dot, 6..9 further
 * patterns for wide lines. Lines leave out their last pixel; boxes,
 * circles and ellipses their right and bottom edges.
 * ------------------------------------------------------------------------ */

/* Selects colour index colour mod 256 (gdcolor(300) selects 44); returns
   it. */
CX_EXPORT(int16_t) gdcolor(int32_t colour);
/* palette[index mod 256] = colour; the pen is not rebuilt. Returns 0. */
CX_EXPORT(int16_t) gsetcolor(int16_t index, int32_t colour);
CX_EXPORT(int32_t) ggetcolor(int16_t index);
CX_EXPORT(int32_t) gacolor(void);
/* Splits a colour into its red, green and blue bytes. */
CX_EXPORT(void) getRGB(int32_t colour, int16_t* red, int16_t* green, int16_t* blue);
/* Line type (returned as given; the tables use it modulo 10) and width in
   pixels (below 1 is taken as 1; the width is returned). */
CX_EXPORT(int16_t) gdlintip(int16_t type);
CX_EXPORT(int16_t) galintip(void);
CX_EXPORT(int16_t) gdlinanch(int16_t width);
/* Exclusive-or drawing on (non-zero) or off; returns the argument. gaeor
   returns 1 while it is on, else 0. */
CX_EXPORT(int16_t) gdeor(int16_t on);
CX_EXPORT(int32_t) gaeor(void);
/* The stored cursor colour (the cursor is drawn with index 12 regardless). */
CX_EXPORT(void) gdcurcol(int16_t colour);
CX_EXPORT(int16_t) gacurcol(void);
/* A crosshair of 13 x 13 pixels at the point; leaves exclusive-or off and
   colour index 12 selected. */
CX_EXPORT(void) gcursor(double x, double y);
/* One pixel of the current colour at a world or device point, which
   becomes the current position. Returns the colour set, or -1 outside the
   clip region or with no device. */
CX_EXPORT(int32_t) gpunto(double x, double y);
CX_EXPORT(int32_t) gdpunto(int16_t x, int16_t y);
/* The colour of pixel (x, y) of device hdc (not necessarily the bound
   one); -1 (0xFFFFFFFF) outside it or its clip region, or for an unknown
   handle. */
CX_EXPORT(int32_t) gapunto(int16_t x, int16_t y, int32_t hdc);
/* A line between world points (with the dash pattern of a wide pen);
   glineaint between device points with the plain pen; glineor in
   exclusive-or mode, the mode restored after. */
CX_EXPORT(void) glinea(double x1, double y1, double x2, double y2);
CX_EXPORT(void) glineaint(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
CX_EXPORT(void) glineor(double x1, double y1, double x2, double y2);
/* A polyline of count points (xs and ys each hold count doubles). Pens of
   width 1 draw the line type's style; wider pens are cut into the type's
   dashes, which run on round corners. Any count is drawn (a long line in
   pieces of 1,200 points); fewer than 2 points draw nothing. */
CX_EXPORT(void) gplinea(const double* xs, const double* ys, int16_t count);
/* The outline of the rectangle through gplinea; grecteor in exclusive-or
   mode, the mode restored after. */
CX_EXPORT(void) grectang(double x1, double y1, double x2, double y2);
CX_EXPORT(void) grecteor(double x1, double y1, double x2, double y2);
/* A box filled with the current colour and outlined with the pen. Returns 1
   when drawn, 0 when it lies outside the clip region (or no device). gborre
   fills with palette entry 0 and keeps the colour index. */
CX_EXPORT(int16_t) gcaja(double x1, double y1, double x2, double y2);
CX_EXPORT(void) gborre(double x1, double y1, double x2, double y2);
/* A circle with the device's current brush, and a filled ellipse of radii
   rx and ry (the third and fourth arguments are ignored). Return 1 when
   drawn, 0 when outside the clip region or a radius exceeds 16,000 pixels. */
CX_EXPORT(int16_t) gcirculo(double x, double y, double radius);
CX_EXPORT(int16_t)
gelipse(double x, double y, double ignored1, double ignored2, double rx, double ry);
/* Arcs draw nothing. garco3 computes the circle through its three points
   (nothing at all for collinear points) and hands it to garco1. */
CX_EXPORT(void) garco1(double x, double y, double radius, double start, double end);
CX_EXPORT(void) garco2(double a, double b, double c, double d, double e);
CX_EXPORT(void) garco3(double x1, double y1, double x2, double y2, double x3, double y3);
/* Distance from (px, py) to the polyline of count vertices: doubles, or
   4-byte floats when *index is -1 on entry. Writes the distance and the
   index of the nearest segment (ties keep the earlier) and returns that
   index; -1 for a count below 1 or a null pointer (nothing written). */
CX_EXPORT(int16_t)
distancia_poli(const void* xs, const void* ys, int16_t count, double px, double py,
               double* distance, int16_t* index);

/* ------------------------------------------------------------------------
 * Text and symbols
 *
 * Map text is drawn in one of seven faces (font index 0 "Arial",
 * 1 "Courier New", 2 "Roman", 3 "Times New Roman", 4 "MS Sans Serif",
 * 5 "Ms Serif", 6 "Modern"; on this platform Liberation and DejaVu faces
 * stand for them) or, while the vector-text flag is set, in the stroke font
 * of the data folder (tabtvec.dat). The text size index 0..9 chooses a row
 * of the size table (world units: 5.5, 5.0, 8.0, 10.0, 15.0, 10.0, 20.0,
 * 10.0, 10.0, 10.0; row 0 is the last size set by gdtxtesc); the size in
 * pixels is that row times the current x scale. Text whose size in pixels
 * is below 0.5 or above 400 is not drawn; below 1 pixel (below 3 for the
 * stroke font) a dotted line as long as the text stands for it. Angles turn
 * text and icons counter-clockwise on the screen while the y-direction flag
 * is set. Character codes 128..255 draw the stroke font's character of
 * their code minus 128. The 32-bit Windows DLL has no font library: text in
 * the device's faces draws nothing there and measures 0 x 0 (the stroke
 * font and the icons draw as here). No function here fails otherwise: bad
 * input draws nothing, and out pointers may be null.
 * ------------------------------------------------------------------------ */

/* Selects size index index mod 10 (gdtextam(13) selects 3) and sets the
   text size to its row (as gdtxtesc). Returns the index; gatextam returns
   the index in force. */
CX_EXPORT(int16_t) gdtextam(int16_t index);
CX_EXPORT(int16_t) gatextam(void);
/* Sets the text size in world units (row 0 of the size table). */
CX_EXPORT(void) gdtxtesc(double size);
/* Sets the angle of text and icons, radians counter-clockwise. */
CX_EXPORT(void) gdtexang(double angle);
/* Sets (non-zero: on) and reads the vector-text flag (text in the stroke
   font) and the black-text flag (map text in black instead of the current
   colour). The setters return the flag given. */
CX_EXPORT(int16_t) gdtxtvect(int16_t flag);
CX_EXPORT(int16_t) gatxtvect(void);
CX_EXPORT(int16_t) gdtexto_negro(int16_t flag);
CX_EXPORT(int16_t) gatexto_negro(void);
/* Draws text at a world point, in the current face, size, slant and angle
   (its top-left corner 0.3 of the font height above the point), or in the
   stroke font (the letters' baseline 0.6 of the size below the point).
   Returns the font height in pixels (truncate(1.2 x size)); 0 when nothing
   or only a dotted line was drawn, and for a null text. */
CX_EXPORT(int16_t) gtexto(double x, double y, const char* text);
/* Draws text with its own style at a world point (its top-left corner
   there): angle in radians, size in world units, colour a COLORREF, bold
   and italic flags, face (at most 31 characters; null for a default sans
   face). Returns the font height in pixels, 0 when nothing was drawn (a
   null text, a point more than 32,000 pixels off, a size out of range). */
CX_EXPORT(int16_t)
gsuper_texto(double x, double y, double angle, double size, int32_t colour, int16_t bold,
             int16_t italic, const char* face, const char* text);
/* Writes the width and height in pixels of text as gtexto would draw it
   in the current face and size, unrotated: both 0 for a null text or a
   size out of range; for a size drawn as a dotted line its length and 0. */
CX_EXPORT(void) gatext_extent(const char* text, int16_t* width, int16_t* height);
/* The same for text as gsuper_texto would draw it with size, bold, italic
   and face (the angle does not matter: the extent is unrotated). */
CX_EXPORT(void)
gasuper_extent(const char* text, double size, int16_t bold, int16_t italic, const char* face,
               int16_t* width, int16_t* height);
/* A status line: each call writes on the next of 30 lines of 12 pixels
   from the top of the device (wrapping to the first), at column x 10
   pixels, in a bold face on white. The second argument is ignored; a null
   text draws nothing and keeps the line. */
CX_EXPORT(void) text(int16_t column, int16_t ignored, int32_t colour, const char* s);

/* Sets the icon size in world units; icons narrower than 1.5 pixels draw
   as one pixel. Returns 1. gaicoesc_VB writes the size and returns the
   size in pixels, truncated. */
CX_EXPORT(int16_t) gdicoesc(double size);
CX_EXPORT(int32_t) gaicoesc_VB(double* size);
/* Draws icon n of the base's icon file (tabico.dat, else the data
   folder's) at a world point, turned by the text angle, with line type 1
   and width 1 (both restored). Icon 0 is empty. Returns 1, or 0 for a
   number outside 0..the icons loaded (nothing drawn). An icon whose point
   lies outside the clip region draws nothing. */
CX_EXPORT(int16_t) gicono(int16_t n, double x, double y);
/* The polyline of count points (as gplinea), then icon n at each point. */
CX_EXPORT(void) gpicono(int16_t n, const double* xs, const double* ys, int16_t count);
/* The catalogue of every icon with its name, nine to a row, in colour
   index colour. It leaves window 0 current with the world (0, 0) - (4000,
   2000), exclusive-or off, size index 1 at 70 units, icon size 160. The
   first argument is ignored. */
CX_EXPORT(void) simbdisplay(int32_t ignored, int32_t colour);

/* ------------------------------------------------------------------------
 * Geographic coordinates and the digitising tablet
 *
 * Grid coordinates are metres (easting, northing) of a transverse Mercator
 * series on the International 1924 ellipsoid (a = 6378388, e^2 =
 * 0.00672267), scale 1 on the central meridian, meant for the few degrees
 * around its origin. Latitudes are degrees north; longitudes are degrees
 * positive toward the WEST: a point west of the central meridian has a
 * larger longitude and a smaller easting. Degrees, minutes and seconds
 * become decimal degrees as d + m/60 + s/3600, each part with its own sign.
 * The projection and the calibration are process-wide and never saved. No
 * argument is checked; the functions return nothing unless said, and only
 * gdigcal can refuse its input. Nothing here allocates or keeps a pointer:
 * out pointers are the caller's doubles and may be null (nothing is
 * written there).
 * ------------------------------------------------------------------------ */

/* Sets every projection parameter for an origin of the national grid:
   latitude of origin 4.599047222, false easting and northing 1,000,000 m,
   and the central meridian (degrees west) of origin 1 77.08091666666667,
   2 71.08091666666667, 3 80.08091666666667, 4 68.08091666666667 or, for any
   other number, 74.08091666666667. Until it is first called the projection
   is that of origin 0. */
CX_EXPORT(void) init_converter(int16_t origin);
/* Moves the origin to the given latitude and longitude (west positive). */
CX_EXPORT(void)
set_origin(double lat_deg, double lat_min, double lat_sec, double lon_deg, double lon_min,
           double lon_sec);
/* Sets the false easting and northing, the grid values of the origin. */
CX_EXPORT(void) set_target(double false_easting, double false_northing);
/* Writes the grid coordinates of a latitude and longitude in decimal
   degrees. The origin maps exactly onto (false easting, false northing). */
CX_EXPORT(void) convert_latlon(double lat, double lon, double* easting, double* northing);
/* The same from degrees, minutes and seconds. */
CX_EXPORT(void)
convlatlon(double lat_deg, double lat_min, double lat_sec, double lon_deg, double lon_min,
           double lon_sec, double* easting, double* northing);
/* Writes the latitude and longitude (decimal degrees) whose grid
   coordinates are (easting, northing), found by iterating convert_latlon
   until the grid values are met within 1e-6 m. Returns the number of
   conversions made: 1 to 24 when the tolerance was met (about 5 for points
   a few degrees from the origin); 25, the failure value, when it may not
   have been (a NaN coordinate always gives 25), and the position written is
   then the last estimate. Always writes a position. */
CX_EXPORT(int16_t) newton(double easting, double northing, double* lat, double* lon);

/* Calibrates the tablet from count point pairs: tablet (xd[i], yd[i]) is
   world (xw[i], yw[i]). Only count 2 calibrates (each of the caller's
   arrays holds two doubles, read during the call only); any other count,
   or a null array, changes nothing, silently. The rotation
   and scale are those of the segment between the two points, and the first
   pair corresponds exactly. Two tablet points (or two world points) at one
   place give no calibration: the previous one stays in force and a
   message ("ADVERTENCIA: calibracion del digitalizador no valida, ...")
   says so through the message sink. Before the first calibration tablet and world coordinates are
   the same. */
CX_EXPORT(void)
gdigcal(int16_t count, const double* xd, const double* yd, const double* xw, const double* yw);
/* Tablet to world, and world to tablet, through the calibration in force. */
CX_EXPORT(void) a_mundo(double x, double y, double* xw, double* yw);
CX_EXPORT(void) a_digit(double x, double y, double* xd, double* yd);

/* ------------------------------------------------------------------------
 * Topology: files, networks, writers, the spatial query and the redraw
 *
 * The geometry of a base (the current directory) lives in the T0/T1 files
 * shared by layers of kinds 0 and 1 (OBJETOS.DAT, COORDEN.DAT, AREAS.DAT,
 * CUADT0.INX, ZONAST3.INX) and in one network per file prefix of the
 * layers of kinds 2 and 3 (prefix + nodo.dat, arco.dat, list.dat, coo.dat,
 * xyt2.inx, nodo.inx and, for kind 3, objs.dat, desc.dat, xyt3.inx);
 * docs/formats/base.md gives every layout. Objects are indexed by one
 * point, their anchor, in 13-byte spatial keys of 2500-unit cells.
 * Writers refuse, before anything is written, a kind outside TABOBJ.DAT, a
 * negative count and geometry that needs more than one block (300 points,
 * or a text of 4798 characters); they insert index entries after the
 * records they point at are written.
 * ------------------------------------------------------------------------ */

/* The handle record of a network (get_red), in this order: nodo.dat,
   arco.dat, xyt2.inx, nodo.inx, list.dat, coo.dat, objs.dat, xyt3.inx,
   desc.dat (-1: not open), the network's kind (2 or 3), a spare 0. */
#define CX_RED_HANDLES 11

/* The caller's state record of one spatial query: 3086 bytes, any
   alignment, passed unchanged to xyinicie and each xynext. */
#define CX_XY_CURSOR_SIZE 3086

/* crear_BG - creates a new, empty base in the current directory:
   usuarios.dat, PERMISO.DAT, TABCAP.DAT with layer 1 "topologia" (kind 3,
   network prefix "topo"), TABOBJ.DAT with kinds 1 "Arco" and 2 "Nodo",
   the style tables TABICO.DAT (531-byte records), TABLIN.DAT and
   TABACHS.DAT with their headers only, and the empty T0/T1 files, showing
   the progress lines "Archivo Lineas", "Archivo Achurados" and "Archivo
   Topologia 0" with text() on the bound device (none when no device is).
     ignored  not read
   Returns 0; -1 when a file could not be created (reported), and -1
   without writing anything when OBJETOS.DAT, TABCAP.DAT or TABOBJ.DAT is
   already there ("crear_BG: YA EXISTE UNA BASE EN ESTE DIRECTORIO (...)"):
   an existing base is never overwritten. */
CX_EXPORT(int16_t) crear_BG(int32_t ignored);

/* abra_t0 - opens OBJETOS.DAT, COORDEN.DAT and AREAS.DAT shared and opens,
   creating them empty when missing, CUADT0.INX and ZONAST3.INX; files
   already open are closed first.
     ignored  not read
   Returns 1; 0 when a file is missing or cannot be opened, after "  ERROR
   : NO encuentra la base geografica..", with none of them left open. */
CX_EXPORT(int16_t) abra_t0(int32_t ignored);

/* cierre_t0 - closes whichever of the five T0/T1 files are open.
     ignored  not read
   Returns 0. Cannot fail. */
CX_EXPORT(int16_t) cierre_t0(int32_t ignored);

/* reabra - opens the files of network `network` (1..the number of
   networks), creating missing ones ("Error abriendo arch. %s" for a file
   that still cannot be opened).
     ignored  not read
   No result. A number outside the table is refused with "reabra: RED n NO
   EXISTE (hay m redes)". */
CX_EXPORT(void) reabra(int16_t network, int32_t ignored);

/* cierred - closes the files of network `network` and marks its handles
   -1. Returns 0; a number outside the table changes nothing. */
CX_EXPORT(int16_t) cierred(int16_t network);

/* get_red - a network's handle record, and makes it the current network.
     record   CX_RED_HANDLES int16_t the caller owns; receives the handles
     network  1..the number of networks
     count    the caller's variable; receives the number of networks
   No result. A number outside the table is refused ("get_red: RED n NO
   EXISTE (hay m redes)"): only count is written. Null pointers are not
   written through. */
CX_EXPORT(void) get_red(int16_t* record, int16_t network, int16_t* count);

/* get_red_act - the current network: the one of the current layer, or the
   last one get_red made current; 0 when there is none.
     ignored  not read */
CX_EXPORT(int16_t) get_red_act(int32_t ignored);

/* xyinicie - starts a spatial query: every entry of a spatial index whose
   point lies in the rectangle, corners included. Corners below 0 are taken
   as 0; an empty extent (x2 <= x1, or y2 <= y1) is widened to 1.
     handle  an open spatial index (CUADT0.INX, xyt2.inx, xyt3.inx)
     cursor  CX_XY_CURSOR_SIZE bytes the caller owns; receives the state
     cell    the cell size; not read (always 2500)
     x1, y1, x2, y2  the rectangle
   Returns 0; -1 for a null cursor or a negative handle (nothing written). */
CX_EXPORT(int16_t)
xyinicie(int16_t handle, void* cursor, int16_t cell, double x1, double y1, double x2, double y2);

/* xynext - the next hit of the query, by cell column, cell row, layer and
   position in the cell; each entry once.
     handle  the index given to xyinicie
     cursor  the state record given to xyinicie
     cell    not read
     key     13 bytes the caller owns, or null; receives the hit's key
     record  the caller's variable; receives the hit's record, 0 when there
             are no more (and on every later call)
   Returns 0; -1 when the index could not be read (reported; the query is
   over, *record 0) or record or cursor is null. */
CX_EXPORT(int16_t)
xynext(int16_t handle, void* cursor, int16_t cell, uint8_t* key, int32_t* record);

/* xycalcxy - decodes a spatial key: x = cell x + 0.1 x the tenths inside
   the cell, likewise y, and the layer of byte 8 (sign-extended).
     ignored  not read
     x, y     the caller's variables, or null; receive the point
     key      13 bytes, read only
     layer    the caller's variable, or null; receives the layer
   Returns 0. With a null key nothing is written. */
CX_EXPORT(int16_t)
xycalcxy(int32_t ignored, double* x, double* y, const uint8_t* key, int16_t* layer);

/* grabe_t0 - writes a new T0 object with its block and indexes its anchor
   in CUADT0.INX under the layer of its kind. Requires abra_t0.
     object  read only: kind, layer byte, anchor, rotation, area link, and
             for point-list kinds (geometry 0, 5, 6, 8, 9) the count; the
             block offset is the library's, a text's count its length + 1
     x, y    count doubles each (point-list kinds), else not read
     text    NUL-terminated (text kinds, geometry 1), else not read
   Returns the new OBJETOS.DAT record; 0 after a message: "T0: ERROR AL
   PEDIR", a refused kind, count or block size, or a write failure. */
CX_EXPORT(int32_t)
grabe_t0(const cx_object* object, const double* x, const double* y, const char* text);

/* grabe_t1 - writes a new T1 area and its outline object (as grabe_t0).
     area    29 bytes in the AREAS.DAT layout; read only. Its first two
             characters become the current layer's code prefix digits, its
             bytes 13..16 the outline's record; the code (13 bytes) is
             indexed in ZONAST3.INX
     object  the outline; on return its area link is the new area (0 on
             failure), its block offset and count those written
     x, y, text  as for grabe_t0
   Returns the new AREAS.DAT record; 0 after "T1: ERROR AL PEDIR" or a
   failure of the outline. */
CX_EXPORT(int32_t)
grabe_t1(const uint8_t* area, cx_object* object, const double* x, const double* y,
         const char* text);

/* grabe_nodo - writes a new node at the object's anchor, with an empty arc
   list, indexed in the network's xyt2.inx (and by its 11-byte code in
   nodo.inx for a network of kind 2).
     node    read only: code prefix and code
     object  read only: kind, anchor, rotation, block, count, area link;
             the state byte becomes the layer of the kind
     a, b, c not read
     red     the network's handle record (get_red); read only
   Returns the new node record; 0 after "NODO T2: ERROR AL PEDIR", a refused
   kind, a network not open ("grabe_nodo: RED NO ABIERTA") or a failure. */
CX_EXPORT(int32_t)
grabe_nodo(const cx_node* node, const cx_object* object, int32_t a, int32_t b, int32_t c,
           const int16_t* red);

/* grabe_arco - writes a new arc between two existing nodes and puts it at
   the head of both nodes' arc lists.
     arc     read only: from_node, from_flag, to_node, to_flag
     object  read only: kind, state (layer byte), count of intermediate
             points (0..300), area link (the arc's description chain)
     x, y    count + 2 doubles each: the from-node, the intermediate points,
             the to-node; only the intermediate ones are stored, the others
             count for the bounding box
     unused  not read
     red     the network's handle record (get_red); read only
   Returns the new arc record; 0 after "ARCO: ERROR AL PEDIR", "ERROR en
   lista T2", "grabe_arco: NODO n NO EXISTE", a refused kind or count, or
   a failure. */
CX_EXPORT(int32_t)
grabe_arco(const cx_arc* arc, const cx_object* object, const double* x, const double* y,
           int32_t unused, const int16_t* red);

/* grabe_t3 - writes a new area object of the current network (kind 3)
   under the edit lock, indexed by its code in nodo.inx and by its label
   point in xyt3.inx.
     code1   up to 11 characters of the code, or null
     code2   10 characters of the code for kinds whose code_form is 1, or
             null
     object  read only: kind, state, label point, rotation, block, count,
             area link
   Returns the new objs.dat record; 0 after "Error de Bloqueo T3" (nothing
   written), "T3: ERROR AL PEDIR", "grabe_t3: LA CAPA ACTUAL NO ES DE
   AREAS", a refused kind or a failure. */
CX_EXPORT(int32_t) grabe_t3(const char* code1, const char* code2, const cx_object* object);

/* vea_topo01, vea_nodo, vea_arco, vea_area - draw one T0 object (the T0
   files open), or one node, arc or area object of the current network, in
   colour `colour` with the settings scolor, slinea and stexto take from its
   kind (a kind outside the table draws with the defaults of record 0):
   texts in map letters, point kinds as their symbol. docs/formats/base.md
   gives the drawing of each geometry type.
     record  the record number
     colour  a palette index, in place of the kind's colour
   Return 0; -1 when the record cannot be read (reported) or there is no
   current network ("vea_arco: NO HAY RED ACTUAL"). */
CX_EXPORT(int16_t) vea_topo01(int32_t record, int16_t colour);
CX_EXPORT(int16_t) vea_nodo(int32_t record, int16_t colour);
CX_EXPORT(int16_t) vea_arco(int32_t record, int16_t colour);
CX_EXPORT(int16_t) vea_area(int32_t record, int16_t colour);

/* redespliegue - redraws the base in the world window widened by
   parameter 8: the T0 objects of drawn layers and kinds, then each
   network's nodes with their arcs and its area objects, level by level
   (kind byte 66); sets parameter 9 to half the window width. It raises the
   stop request first and ends at the next hit once terminar clears it; the
   event pump (cx_set_pump_callback) runs after every 50 hits and once at the end. Nothing is
   drawn while the window has no width or height, or no device is bound.
     ignored  not read
   No result. The current layer's files are open again afterwards. */
CX_EXPORT(void) redespliegue(int32_t ignored);

/* ------------------------------------------------------------------------
 * Raster distances, grid files and bitmap headers
 *
 * A raster is a device (crear_dispositivo) on which the host has drawn its
 * features; every pixel below 0xFFFCFF (white and near-white are not) is a
 * feature, its colour the feature's class. Paths are the caller's strings,
 * relative to the current directory; buffers are the caller's and are used
 * during the call only.
 * ------------------------------------------------------------------------ */

/* Sets the feature threshold back to 0xFFFCFF. The argument is ignored;
   returns 0. */
CX_EXPORT(int32_t) init_distancias_raster(int32_t ignored);
/* Writes into device dst, for the width x height pixels of device src,
   truncate(scale x D) with D = truncate(sqrt(10 (dx^2 + dy^2))), (dx, dy)
   the offset to the nearest feature found by a two-pass vector propagation:
   3 beside a feature, 4 on its diagonal, 0 on it. Near Voronoi corners the
   offset found may be a little longer than the nearest one (docs/rasters.md
   gives the share). The last column of dst takes src's colours; pixels
   outside src read as background, and with no feature at all distances are
   measured to a row of features just above the image. src and dst may be
   one device. Keeps eight rows in memory and the rest in three temporary
   files tempx<process>_<n>.$$$ (and tempy, tempc) in the current
   directory, deleted before it returns. Returns -1, or 0 (with a message)
   for an unknown device, a width outside 1..8191 or a height below 1, a
   temporary file that cannot be made, read or written, or no memory; dst
   may then be written in part, and no file is left behind. */
CX_EXPORT(int32_t)
distancias_raster(int32_t src, int32_t dst, int16_t width, int16_t height, double scale);
/* Writes a grid of (n + 1) x (n + 1) cells of 20 bytes, row after row, to
   path: each the little-endian double -1.0, the double 0.0 and the 32-bit
   -1. An existing file is written over from its start and not shortened;
   a missing one is created. The second argument is ignored. Returns the
   number of the file handle used (closed again), or -1 with a message for
   n below 0 or a file that cannot be opened or written. */
CX_EXPORT(int16_t) crear_arch_grid(int16_t n, int32_t ignored, const char* path);
/* Reads the headers of the bitmap file path and writes its width and
   height (each within 16 bits; a top-down bitmap has a negative height)
   and its colour count by bits per pixel: 1 -> 2, 4 -> 16, 8 -> 256,
   24 -> 32737; other bit counts leave *colours unwritten. Null out pointers
   are skipped. Returns -1; 0 when the file cannot be opened, and 0 with a
   message (nothing written) for a file that is not a bitmap, a short one or
   a size outside 16 bits. */
CX_EXPORT(int16_t)
get_bmpinfo(const char* path, int16_t* width, int16_t* height, int16_t* colours);
/* Writes to target a 1 x 1 bitmap with the palette of the bitmap source:
   its headers with width 1, height 1, an image of 4 bytes and as many
   colours used and important as the palette holds, the palette, and the
   first 4 bytes of source's pixels. buffer is the caller's work space of
   at least 1,068 bytes, left holding the new info header and palette.
   Returns -1; 0 when a file cannot be opened, and 0 with a message for a
   null buffer, a source that is not a bitmap or ends before its first
   pixels, or a palette larger than 256 colours (data offset above 1,078);
   target is not touched unless source is sound. */
CX_EXPORT(int16_t) create_bmpal(const char* source, const char* target, void* buffer);

/* ------------------------------------------------------------------------
 * Attribute bases: field definitions, dBase and text tables, code indexes,
 * code and attribute labels
 *
 * Each object kind may name an attribute base (cx_kind.attribute_base),
 * stored as cx_kind.storage says (0 numbered records of name.dat, 1 a
 * record file name.dat indexed by name.inx, 2 a dBase table name.dbf
 * indexed by name.inx, 3 a fixed-width text table, the name itself, with
 * its .inx and .def beside it under its name without the extension). A
 * base's fields are described by name.def and offered to formulas under
 * their variable names; reading an object's attributes sets them. Kinds
 * above 998 have no base. Messages are shown through the message sink.
 * docs/formats/attributes.md describes the files.
 * ------------------------------------------------------------------------ */

/* A field record of a definition file, byte for byte as on disk (496
   bytes); index_dbf reads offset and length only. */
typedef struct cx_field_def {
  int16_t type;   /* 4 text; 14 and above: a label placement "x,y<angle>" */
  int16_t offset; /* in the record's data (dBase: after the deletion flag) */
  int16_t length; /* bytes, at most 90 */
  int16_t width;  /* display width */
  int16_t decimals;
  char name[11]; /* the field's name, NUL-terminated */
  uint8_t reserved21[24];
  char variable[11]; /* the variable formulas read it by; blank: none */
  uint8_t reserved56[346];
  uint8_t link[4];   /* not used on disk */
  uint8_t value[90]; /* not used on disk */
} cx_field_def;
CX_STATIC_ASSERT(sizeof(cx_field_def) == 496 && offsetof(cx_field_def, name) == 10 &&
                     offsetof(cx_field_def, variable) == 45 && offsetof(cx_field_def, value) == 406,
                 "cx_field_def layout");

/* abra_atrs - opens the attribute bases of every kind, closing those open
   first; resets the expression variables (the host's external ones
   included) and registers the built-in ones again. Kinds whose base names
   agree on their first 8 characters share one base. A base whose
   definition or data cannot be had is reported ("ERROR cargando
   definicion: %s", "No se pudo abrir base %s...") and its kinds have none;
   a missing index is created empty. Returns 0. */
CX_EXPORT(int16_t) abra_atrs(void);
/* cierre_atrs - closes every base and withdraws its field variables.
   Returns 0; cannot fail. */
CX_EXPORT(int16_t) cierre_atrs(void);

/* lea_atribs - loads the attributes of an object into the field variables.
     slot  not read (hosts pass 0)
     kind  pointer to the object's kind
     code  the object's code (NUL-terminated; 14 characters are kept in the
           variable "codigo")
   The record is looked up by the code (storage 0: the code read as a
   number is the record; a related base: its relation formula's value) and
   its fields copied into their variables; a code not found clears them.
   Related bases are read in turn. Returns 1 when the record was found; 0
   when it was not, when the kind is not drawn or has no base, or when it
   is not the current kind (setting 25) and its base has no placement
   fields; 0 after the message for a null pointer or a kind outside the
   table. */
CX_EXPORT(int16_t) lea_atribs(int16_t slot, const int16_t* kind, const char* code);

/* index_dbf - builds name.inx for the dBase table name.dbf: every record
   not marked deleted gets the key of its key field (at most 11 bytes,
   trailing blanks removed) with the byte position + 1 of its data.
     name       the table, with or without ".dbf"
     counter    if not null, set to each record number in turn
     key_field  the key field's definition record (offset and length read)
   Returns 0; -1 after "LEER: Error en DBF" (unreadable header or short
   record), "LEER: Error buscando DBF" (a record count beyond the file),
   "Error creando indice.." or a message for a key field outside the
   record; the index then holds the records before the failure. */
CX_EXPORT(int16_t) index_dbf(const char* name, int32_t* counter, const cx_field_def* key_field);

/* ascreindexar - builds name.inx for a fixed-width text table: each line
   (at most 999 characters) long enough for the key, the first field of
   name.def, gets its key with the line's byte position + 1; lines that
   begin with FF FF FF FF are deleted and skipped.
     path      the text table
     name      the base name (its .def and .inx)
     position  if not null, set to each line's byte position in turn
   Returns 0; -1 after the message when the definition, the table or the
   index cannot be had. */
CX_EXPORT(int16_t) ascreindexar(const char* path, const char* name, int32_t* position);

/* verify_dbase - writes name.def from the header of a dBase table: one
   type-4 field per column (variable name = column name, length cut to 90
   bytes, offsets the sums of the columns' real lengths) and a last field
   "terminador cr/lf" (variable "CRLF" and the record's data length) over
   what remains of the record, normally nothing, so that the data of a
   record is read whole and no more.
     path  the table, with or without ".dbf"
   Returns 0; -1 after "Error generando Def." when the table cannot be read
   or the definition written. */
CX_EXPORT(int16_t) verify_dbase(const char* path);

/* existe_codigo - the record a code names in the current layer: kind 0 the
   code read as a number; kind 1 the area of ZONAST3.INX under the layer's
   two prefix digits and the code; kind 2 (only when the current kind is a
   node kind) the node of the network's nodo.inx under byte 37 of the layer
   and the 10-byte code10; kind 3 the area object under the prefix digits
   and the code. Returns the record number, 0 when the code is not used or
   an index is not open (0 after the message for a null pointer). */
CX_EXPORT(int32_t) existe_codigo(const char* code, const char* code10);

/* otrabase - opens a further base for the current kind (setting 25),
   related through a formula evaluated on the values read before it
   (empty: "codigo"); the formula is taken as written or else upper-cased.
     name     the base (for type 2 the dBase table, whose .def is generated)
     storage  1 to 3 as cx_kind.storage, 4 read as 1
     formula  the relation
   Returns the number of the kind's base; 0 when there is no current kind
   or the name is empty; -1 after "Error en expresión para relacionar...",
   the opening's messages or a storage outside 1..4. */
CX_EXPORT(int16_t) otrabase(const char* name, int16_t storage, const char* formula);

/* codigos - finds the object of the current layer with a code: kind 0 the
   T0 object numbered by it, kind 1 the outline of the area of ZONAST3.INX,
   kinds 2 and 3 the node or area object of the network's nodo.inx.
     x, y     its anchor or label point
     extents  4 doubles: xmin, ymin, xmax, ymax of its points (an area
              object: of the arcs of its description chain), or the point
              enlarged by parameter 8 when it has none (nodes, texts)
     outline  non-zero: the points become the work area, mode 1 (T0
              objects and areas) or mode 4 (area objects, arc by arc)
   Returns 1 found, 0 not found (nothing written). */
CX_EXPORT(int16_t)
codigos(const char* code, double* x, double* y, double* extents, int16_t outline);

/* veacod - draws an object's code as a label (gtexto, turned by the
   object's rotation, in the current text settings) at its anchor, raised
   by the text height (geometry 2: moved by half of it in x and y); for kinds with
   address codes (cx_kind.code_form 1) the street address, as
   "Kr.45bis#12 -34". Only the 10 bytes of code are read: byte 1..2 main
   street (little-endian), 3 street type, 4 suffix, 5..6 cross street, 8
   suffix, 9 house number. Returns 0 (nothing drawn when the kind's
   no_code_label is set); -1 after the message for a null pointer or a kind
   outside the table. */
CX_EXPORT(int16_t) veacod(const unsigned char* code, const cx_object* object);

/* fatr_put - stores a label placement "x,y<angle>" in the field-th
   placement field (type 14 and above, from 1) of an object's record and
   rewrites the record.
   Returns 0; -1 when the object has no record, the field does not exist or
   the placement does not fit it (reported), or the write failed ("ESCRIBIR:
   Error en base , reg %ld"). */
CX_EXPORT(int16_t)
fatr_put(int16_t kind, const char* code, int16_t field, double x, double y, int16_t angle);
/* fatr_dibuje - reads an object's attributes and draws, at each placement,
   the value of the next field offered as a variable, in the kind's text
   settings, turned by the placement's angle; with network set, a
   placement farther than parameter 8 from (x, y) is ignored. Returns the
   number of labels drawn; -1 for a null code or a kind outside the table. */
CX_EXPORT(int16_t)
fatr_dibuje(int16_t kind, const char* code, double x, double y, int16_t network);
/* veadat0, veadat2, veadat_t0 - the code label and the attribute labels of
   a T0 object (with its code text), a network node and an area object of
   a network (its code after the two prefix digits), in the colour and text
   of its kind. Returns the number of attribute labels drawn; -1 for a null
   record or a kind outside the table. */
CX_EXPORT(int16_t) veadat0(const cx_object* object, const char* code);
CX_EXPORT(int16_t) veadat2(const cx_node* node);
CX_EXPORT(int16_t) veadat_t0(const cx_area_object* object);
/* hay_atr23 - 1 when some drawn kind of a drawn layer of network n has a
   base with placement fields, else 0 (also for a network not registered). */
CX_EXPORT(int16_t) hay_atr23(int16_t network);

/* scolor, slinea, stexto - the drawing state from the kind of an object
   record (its 16-bit kind first): scolor the colour index and the hatch
   angle (cx_kind.hatch degrees) and step (0 read as 1); slinea the line
   type and width (at most 7); stexto the text style and the text size
   (cx_kind.text_size; when 0 the text scale in tenths, else the layer's
   attributes[2], else 1). Return 0; -1 after the message for a null
   pointer or a kind outside the table. */
CX_EXPORT(int16_t) scolor(const int16_t* object);
CX_EXPORT(int16_t) slinea(const int16_t* object);
CX_EXPORT(int16_t) stexto(const int16_t* object);

/* ------------------------------------------------------------------------
 * Network editing: new nodes, digitized lines, merging and splitting, and
 * the searches they rest on.
 *
 * These work on the current layer's network (its files open). Every edit
 * runs in one frame: the network's files (and the T0/T1 files, when open)
 * are closed and reopened into the same handles, the edit lock is taken,
 * the records are changed, the files are reopened again and the lock is
 * released, on every path. An edit inside another keeps the outer lock.
 * Parameter 9 is half the window width, parameter 13 the node tolerance.
 * ------------------------------------------------------------------------ */

/* nuevo_nodo - writes a new node of the current network at object's
   position, indexed and drawn. Its kind is object->kind when that kind has
   geometry 3 and a layer of the same network, else the first geometry-3
   kind of the current layer, else of any layer of the network, else 0.
     object  in: kind and position; out: kind and layer byte set
     node    in: the 10 code characters; out: the node as written (the
             rest cleared, the code prefix byte that of the current layer)
   Returns the node record; 0 after "ERROR bloqueando nodo" (lock), "NODO
   T2: ERROR AL PEDIR", a null pointer or "nuevo_nodo: LA CAPA ACTUAL NO ES
   UNA RED". */
CX_EXPORT(int32_t) nuevo_nodo(cx_object* object, cx_node* node);

/* dig_segment - turns the polyline of `count` points into nodes and arcs of
   the current network. Existing nodes within the node tolerance of a
   vertex are used (get_nodesT3); the first and last vertices, and every
   vertex when every_vertex is not 0, get new nodes when they have none. A
   closed polyline (first point equal to the last) is one ring: its last
   vertex takes the first vertex's node, and with no node on it a node is
   put at vertex 2/3 x count too. A piece of more than 300 intermediate
   points gets a node at every 301st. Each piece between two nodes becomes
   a new arc, unless an arc joining the same nodes has the same number of
   intermediate points and the same middle one (within 1e-6): that arc is
   taken. The arc kind (the current kind when of geometry 4, else the
   first geometry-4 kind of the layer or network) becomes the current
   kind. The arcs taken or written are the last digitizing, read by
   add_segments. The arrays are not changed; any count is taken.
     verify  not 0: verifique_topologia runs on the polyline first, so the
             arcs it runs along are split where it joins or leaves them
   Returns the number of arcs taken or written; -1 after "ERROR bloqueando
   arco" (lock), a null pointer, count below 2, "dig_segment: LA CAPA
   ACTUAL NO ES UNA RED" or "dig_segment: LA RED NO TIENE TIPOS DE NODO Y
   ARCO", or a writer's message (what was written until then stays). */
CX_EXPORT(int16_t)
dig_segment(int16_t count, const double* x, const double* y, int16_t every_vertex, int16_t verify);

/* add_segments - adds every arc of the last digitizing that is not yet in
   the description of area object `area` (as agregue_arco).
   Returns the number of arcs of the last digitizing; -1 after "error
   bloqueo T3." (lock), "NO se encontro area %ld" or a failed write. */
CX_EXPORT(int16_t) add_segments(int32_t area);

/* funde_nodos - merges the two nodes nearest to (x, y) within parameter 9
   (current layer of kind 3 only): every arc of the second node is moved to
   the first (both its list entries and its bounding box follow), then the
   second node is deleted.
   Returns 1 merged; 0 when the current layer is not of kind 3; -1, with
   nothing changed, after "No se encontro nodos..", "No se encontro 2do.
   nodo .." (none, or farther than twice parameter 13 from the first), "NO
   se funde.. hay arco" (an arc joins them), "Error de bloqueo.. Nodo"
   (lock) or "ERROR DEL SISTEMA: Debe REGENERAR listas T2". */
CX_EXPORT(int16_t) funde_nodos(double x, double y);

/* funde_arcos - replaces arc `arc` by another arc joining the same two
   nodes (current layer of kind 3 only): its description entries pass to
   the other arc, except where the other arc bounds that area already (the
   entry then leaves the area's chain: no area names an arc twice); then
   arc `arc` is deleted (borre_arco).
   Always returns 0: nothing changes when there is no such other arc, on
   "ERROR bloqueando arco" (lock) or "ERROR eliminando lista t3A". */
CX_EXPORT(int16_t) funde_arcos(int32_t arc);

/* partir_arcos - splits an arc at (x, y) (current layer of kind 2 or 3):
   *arc when not 0 (then set to 0), else the arc get_arct3 picks. The split
   vertex is the vertex nearest to the point within parameter 13, else the
   nearest point of a segment (inserted). The node there is an existing
   node within parameter 13 (not an end of the arc), else a new one. The
   arc keeps the part before it; a new arc (a copy, bounding box included)
   takes the part after it; in a network of kind 3 every area the arc
   bounded gets the new arc too, just after it in the area's chain.
   Returns 1 split; 0 when nothing was split (no arc, the point farther
   than parameter 13 from it, or an end vertex); -1 after "ERROR bloqueando
   arco" (lock), "No se encontr\xf3 ARCO.. " or a failed write. */
CX_EXPORT(int16_t) partir_arcos(double x, double y, int32_t* arc);

/* find_t02 - the object of the current layer and current kind (setting
   codes 24 and 25) whose indexed point (CUADT0.INX, xyt2.inx or xyt3.inx
   by the layer's kind) is nearest to (x, y), among those in the world
   window.
     record, distance  receive the record (0 for none) and its distance;
                       either may be null
   Returns the record, 0 for none. */
CX_EXPORT(int32_t) find_t02(int32_t* record, double x, double y, double* distance);

/* find_t03 - the node of network `network` nearest to (x, y) within
   parameter 9 (funde_nodos merges it with the second nearest).
   Returns the node record, 0 for none (also for a network not open, after
   "find_t03: RED %d NO ABIERTA"). */
CX_EXPORT(int32_t) find_t03(int16_t network, double x, double y);

/* get_nodesT3 - the existing node of the current network at each vertex of
   the polyline of `count` points: a node inside the polyline's box
   enlarged by parameter 9 goes to its nearest vertex within parameter 13,
   unless that vertex has a nearer node. The first 900 vertices' nodes (0
   for none) go to the session's working list, which is cleared whole.
     first_node, last_node  receive the nodes of the first and last vertex
   Returns the index (0-based) of the last vertex with a node, -1 for none
   (and for a null array or count below 1). */
CX_EXPORT(int16_t)
get_nodesT3(int16_t count, int32_t* first_node, int32_t* last_node, const double* x,
            const double* y);

/* get_arct3 - the drawn arc of the current network nearest to (x, y),
   among the arcs of the nodes within parameter 8 / 2 of the point, within
   the pick tolerance: two device units in world units, at least 1 unit.
     arc, from, to, from_entry, to_entry  receive the arc, its from- and
             to-node and its list entries at them; all 0 for none; any may
             be null
   Returns the arc, 0 for none after "ERROR de busqueda.. ". */
CX_EXPORT(int32_t)
get_arct3(int32_t* arc, int32_t* from, int32_t* to, int32_t* from_entry, int32_t* to_entry,
          double x, double y);

/* ------------------------------------------------------------------------
 * Areas and measures: the description of area objects (agregue_arco,
 * retire_arco), their closure, area and perimeter, the areas and lengths of
 * point lists and the point-inside tests.
 *
 * An area object of a network of kind 3 is described by the arcs that bound
 * it: one 18-byte entry of the network's desc.dat for each (arc, area
 * object) pair, chained from the arc (first_desc of cx_arc) and from the
 * area object (first_desc of cx_area_object). The operations on an area
 * object work on the current layer's network, which must be of kind 3.
 * Units (setting code 10): 0 ground units; 1 areas x 0.0001; 2 areas x 1e-6
 * and lengths / 1000.
 * ------------------------------------------------------------------------ */

/* agregue_arco - adds arc `arc` to the description of area object `area`,
   at the head of both chains, under the edit lock.
     area  record of the area object in the current network's objs.dat
     arc   record of the arc in its arco.dat
   Returns 0 added; -1, with nothing written, after "error bloqueo T3."
   (lock), "Arco %ld ya esta en %s %s [%ld]" (the arc is there already:
   one entry stays), or a message naming a record that is not there. */
CX_EXPORT(int16_t) agregue_arco(int32_t area, int32_t arc);

/* retire_arco - removes arc `arc` from the description of area object
   `area`: its entry leaves both chains and is given back; "Ok.. arco sale".
   Returns 0 removed; -1, with nothing changed, after "No se encontr\xf3
   ARCO.. " (arc 0), "Arco NO esta en area", "ERROR eliminando lista t3A"
   (the entry is missing from the arc's own chain), "Error bloqueando T3"
   (lock) or a read failure. */
CX_EXPORT(int16_t) retire_arco(int32_t area, int32_t arc);

/* cerradura results besides 0 (one closed ring, "Area cerrada ok"), 1 (the
   ordered arcs do not come back to the first arc's start) and -1 (the
   current object kind, setting code 25, has no area geometry 0, 5, 6, 9). */
#define CX_CERRADURA_GAP 2 /* no arc continues at a node; also unreadable records */
#define CX_CERRADURA_FEW 3 /* fewer than two arcs that do not close on themselves */

/* cerradura - checks that the arcs of area object `area` (at most 600 of
   its chain) form one closed ring, reversing arcs as needed. An open ring
   or a gap is marked with the graphics cursor at the node where it opens
   and reported: "Area NO esta cerrada (o tiene huecos, o es disyunta!).."
   for a gap (CX_CERRADURA_GAP), the same with two blanks before the
   parenthesis for an open end (1), "Area debe tener por lo menos dos arcos"
   (CX_CERRADURA_FEW). A single arc whose two ends are one node is a closed
   ring. An area with holes or several rings is not one ring and fails. */
CX_EXPORT(int16_t) cerradura(int32_t area);

/* topo_area - the area and perimeter of an area object from the arcs of its
   description (at most 900): the arcs are ordered into rings, each arc's
   full point list (from-node, intermediate points, to-node) contributes its
   trapezoid sum, reversed arcs negated; the area is the absolute value of
   the total, so rings of opposite orientation (holes) subtract.
     object     host area object; only first_desc is read
     area       receives the area, 0 without description (units switch)
     perimeter  receives the sum of all arcs' lengths
   Returns the number of arcs read; 0 (both outputs 0) without description,
   outside a network of kind 3 or on a read failure (reported). */
CX_EXPORT(int16_t) topo_area(const cx_area_object* object, double* area, double* perimeter);

/* area_calc - the area of the polygon of `count` points (x[i], y[i]),
   after the units switch. An open polygon is closed: x[count], y[count]
   receive the first point, so the caller's arrays must hold count + 1
   points. Fewer than 3 points give 0. Always returns 0 (*area 0, nothing
   read, for null arrays). */
CX_EXPORT(int16_t) area_calc(double* x, double* y, int16_t count, double* area);

/* long_calc - the length of the polyline of `count` points (divided by 1000
   with units switch 2); fewer than 2 points give 0. Always returns 0. */
CX_EXPORT(int16_t) long_calc(const double* x, const double* y, int16_t count, double* length);

/* set_inclusion - how esta_en tests the work area: mode 0 inside, 1
   outside, 2 within distance d of its boundary, 3 farther than d. Returns
   mode. */
CX_EXPORT(int16_t) set_inclusion(int16_t mode, double d);

/* esta_en - 1 when (x, y) satisfies the work area (setting code 2: 0 none,
   1 polygon, 2 circle, 3 rectangle, 4 an area object's boundary) under the
   inclusion mode, else 0. Without a work area mode 0 gives 1 for every
   point. Polygon and boundary tests use the even-odd rule; a point equal to
   a boundary vertex is inside. */
CX_EXPORT(int16_t) esta_en(double x, double y);

/* esta_dentro - -1 when (x, y) lies inside object `record` of layer
   `layer`, else 0: for layers of kind 0 and 1 a T0 object whose kind has
   geometry 0, 5, 6 or 9 and whose point list is closed (point in polygon);
   for layers of kind 3 an area object of the current network (even-odd
   over all the arcs of its description, so holes are outside). Any other
   object, or a record that cannot be read, gives 0. */
CX_EXPORT(int16_t) esta_dentro(double x, double y, int32_t record, int16_t layer);

/* busque_nodo - the node of the current network nearest to (x, y) within
   half the node tolerance (parameter 13), ties to the first found.
   Returns its record, 0 for none. */
CX_EXPORT(int32_t) busque_nodo(double x, double y);

/* del_nodo - deletes a node of the current network that has no arcs: its
   spatial key (and, for a network of kind 2, its code key) leave the
   indexes, it is erased on screen and given back. Both index entries are
   found before either is removed.
   Returns 0 deleted; -1, with nothing changed, after "NO se encontro nodo "
   (not a node), "NO se puede eliminar. hay arcos (%ld)" (the first entry
   of its arc list), "Error bloqueando nodo" (lock), "Error en indice  XYt2"
   or "Error en indice  Cod.nodos" (its index entry is missing). */
CX_EXPORT(int16_t) del_nodo(int32_t node);

/* borre_arco - deletes arc `arc` that bounds no area: its list entries
   `from_entry` at node `from` and `to_entry` at node `to` leave the two
   lists and are given back with the arc; the arc's point block stays in
   coo.dat. Nothing happens unless all five numbers are above 0.
   Always returns 0; what was refused is told by a message: "No se borra:
   arco usado por algun area. (%ld)" (the head of its description chain),
   "ERROR bloqueando arco" (lock), "ERROR DEL SISTEMA: Debe REGENERAR
   listas T2" (an entry is not on its node's list: nothing is changed),
   "No se encontr\xf3 ARCO.. " (a record that is not there). */
CX_EXPORT(int16_t)
borre_arco(int32_t from, int32_t to, int32_t from_entry, int32_t to_entry, int32_t arc);

/* borre_t3 - deletes area object `area` of the current network with its
   description: each entry leaves its arc's chain and is given back, the
   code key leaves nodo.inx and the label point's key xyt3.inx, the object
   is erased on screen and given back. Every link and index entry is found
   before anything changes.
   Returns 0 deleted; -1, with nothing changed, after "error bloqueo..T3"
   (lock), "ERROR eliminando lista t3A" (an entry missing from its arc's
   chain), "Error en indice T3" (an index entry missing) or a message naming
   a record that is not there. */
CX_EXPORT(int16_t) borre_t3(int32_t area);

/* regrabe_arco - replaces the intermediate points of arc `arc` of the
   current network by x[1..n-2], y[1..n-2] (x[0] and x[n-1] are the end
   nodes, not stored) in a new block of coo.dat; the old block stays. Two
   points or fewer leave the arc straight (count 0, no block). The bounding
   box is not recomputed.
   Always returns 0. Refused with the arc unchanged: more points than one
   block holds ("regrabe_arco: %d UNIDADES NO CABEN EN UN BLOQUE (maximo
   300)"), "ERROR bloqueando arco" (lock), "No se encontr\xf3 ARCO.. "
   (not an arc). */
CX_EXPORT(int16_t) regrabe_arco(int32_t arc, const double* x, const double* y, int16_t n);

/* resitue_t01 - moves T0 object `record` to (x, y) and turns it to
   `angle` radians (stored in tenths of a degree, to the nearest; for kinds
   of geometry 7 the angle itself, truncated), moving its CUADT0.INX entry;
   it is erased and drawn again in its kind's colour.
   Returns 0 moved; -1, with nothing changed, after "Error de Bloqueo.T0"
   (lock), "Error en indice espacial..T0" (its index entry is missing) or
   "resitue_t01: OBJETO %ld NO EXISTE". */
CX_EXPORT(int16_t) resitue_t01(int32_t record, double x, double y, double angle);

/* ------------------------------------------------------------------------
 * Moving, recoding and deleting objects of the base
 *
 * Each edit reads what it changes afresh, takes the edit lock (its lock
 * message when it cannot, with nothing written), and finds every index
 * entry it must change, by key and record, before it changes any: a
 * missing entry stops it with the records and indexes as they were. Angles
 * are radians, stored as tenths of a degree to the nearest. Requires: a
 * session with a current layer whose files are open.
 * ------------------------------------------------------------------------ */

/* regrabe_nodo - moves node `node` of the current network to (x, y) and
   turns it to `angle`, moving its xyt2.inx entry. The node and its arcs are
   erased and drawn again (the arcs follow, being drawn from their end
   nodes; their stored bounding boxes are not recomputed).
   Returns 0 moved; -1, with nothing changed, after "NO se encontro nodo ",
   "Error bloqueando Nodo" (lock) or "Error en indice xyt2" (its entry is
   missing). */
CX_EXPORT(int16_t) regrabe_nodo(int32_t node, double x, double y, double angle);

/* resitue_t3 - moves the label point of area object `area` of the current
   network (of kind 3) to (x, y) and turns it to `angle`, moving its
   xyt3.inx entry; it is erased and drawn again.
   Returns 0 moved; -1, with nothing changed, after "Error de Bloqueo.T0"
   (lock), "Error en indice espacial..T0" (its entry is missing) or "NO se
   encontro area %ld". */
CX_EXPORT(int16_t) resitue_t3(int32_t area, double x, double y, double angle);

/* regrabe_poli - gives T0 object `record` the point list x[0..n-1],
   y[0..n-1] in a new block of COORDEN.DAT (n <= 0: no block); the old
   block stays, the anchor point and its index entry are unchanged. The
   object is drawn again in the colour of the current object kind.
   Always returns 0. Refused with the object unchanged: more points than
   one block holds ("regrabe_poli: %ld UNIDADES NO CABEN EN UN BLOQUE
   (maximo 300)"), a kind that is not a point list (geometry 0, 5, 6, 8,
   9), "Error de Bloqueo.T0" (lock), "regrabe_poli: OBJETO %ld NO EXISTE",
   null arrays. */
CX_EXPORT(int16_t) regrabe_poli(int32_t record, const double* x, const double* y, int16_t n);

/* regrabe_texto - gives text object `record` (geometry 1) the text `text`
   (its first 255 characters) in a new block, as regrabe_poli does.
   Always returns 0; refused with the object unchanged for an object that
   is not a text, a null text, the lock ("Error de Bloqueo.T0") or an
   object that is not there. */
CX_EXPORT(int16_t) regrabe_texto(int32_t record, const char* text);

/* edit_co1 - gives the T1 area outlined by T0 object `record` the code of
   the current layer's two prefix digits followed by the first 11
   characters of `text` (NUL-padded), in AREAS.DAT and ZONAST3.INX.
   `ignored` is not read. Requires: the current layer is of kind 1.
   Returns 0 changed; -1, with nothing changed, after "ERROR: ya existe
   codigo " and "cancelado..." (the code is taken), "Error:bloqueo T1"
   (lock), "Error en indice Areas T1" (the old code's entry is missing),
   "edit_co1: OBJETO %ld NO ES BORDE DE AREA" or "edit_co1: LA CAPA ACTUAL
   NO ES DE AREAS T1". */
CX_EXPORT(int16_t) edit_co1(int32_t record, const char* text, int16_t ignored);

/* edit_co3 - the same for area object `area` of the current network (of
   kind 3), in objs.dat and nodo.inx: "ERROR: ya existe codigo " and
   "cancelado...", "Error:bloqueo T3" (lock), "Error en indice Areas T3",
   "NO se encontro area %ld". Returns 0 changed, -1 refused. */
CX_EXPORT(int16_t) edit_co3(int32_t area, const char* text, int16_t ignored);

/* edit_nodot23 - draws `record` in exclusive-or mode, in its kind's colour:
   a node, or, in a network of kind 3 whose current object kind (setting
   code 25) is not a node kind (geometry 3), an area object. A second call
   with the same record removes the highlight. The exclusive-or switch is
   left as it was. Always returns 0. */
CX_EXPORT(int16_t) edit_nodot23(int32_t record);

/* del_t0 - deletes T0 object `record`: its CUADT0.INX entry leaves the
   index, it is erased and given back; its block stays.
   Returns 0 deleted; -1, with nothing changed, after "Error bloqueo - T0"
   (lock), "Error eliminando i. espacial" (its entry is missing) or
   "del_t0: OBJETO %ld NO EXISTE". */
CX_EXPORT(int16_t) del_t0(int32_t record);

/* del_t1 - deletes the T1 area outlined by T0 object `record` with the
   outline: both entries (CUADT0.INX, ZONAST3.INX) leave their indexes and
   both records are given back.
   Returns 0 deleted; -1, with nothing changed, after "Error bloqueo - T1-"
   (lock), "Error eliminando- I. espacial t1" or "Error eliminando- I.
   areas t1" (an entry is missing, or the object outlines no area), or
   "del_t1: OBJETO %ld NO EXISTE". */
CX_EXPORT(int16_t) del_t1(int32_t record);

/* del_capa, del_tipo, del_clase - delete the current layer's objects
   indexed in the world window widened by parameter 8 (at most 895): all of
   them; those of the current object kind; those whose kind has the current
   kind's geometry type. First the host is asked "ATENCION: desea eliminar
   %d objetos? " (caption "Confirme eliminaci\xf3n", OK and Cancel, question
   icon) with the number of listed objects; anything but OK deletes
   nothing. T0 objects go as del_t0 deletes them, area outlines of a layer
   of kind 1 as del_t1, area objects as borre_t3. In a network of kind 2
   the objects are nodes: first their selected arcs that bound no area go
   (as borre_arco; "ERROR: NO hay arco entre nodos " when an arc is missing
   from a list), then the selected nodes left without arcs (as del_nodo).
   For del_clase a node kind (geometry 3) selects nodes, an arc kind (4)
   arcs. `ignored` is not read. Always return 0. */
CX_EXPORT(int16_t) del_capa(int16_t ignored);
CX_EXPORT(int16_t) del_tipo(int16_t ignored);
CX_EXPORT(int16_t) del_clase(int16_t ignored);

/* correctores - marks, in colour `colour`, the anchor point of every object
   of the current layer indexed in the world window widened by parameter
   8: T0 objects (layers of kind 0 and 1) or area objects' label points
   (kind 3). Returns the number of marks; -1 for a layer of kind 2 or a
   layer whose files are not open. */
CX_EXPORT(int16_t) correctores(int16_t colour);

/* esta_en_despl - 1 when there is no limits polygon (set_lims; fewer than
   3 points are none) or (x, y) lies inside it by the even-odd rule (a
   point equal to a vertex is inside), else 0. */
CX_EXPORT(int16_t) esta_en_despl(double x, double y);

/* verifique_topologia - prepares the current network for a new line of
   `count` points x[i], y[i] (a last point equal to the first is not
   used). Every arc of a node indexed within twice parameter 8 of the
   line's bounding box, whose full point list has more than 2 points and
   whose box meets the line's, is split at each interior vertex where a run
   of line vertices equal to its consecutive points (either way along it)
   begins or ends: the node there is the nearest node within parameter 13,
   or a new node of the network's first node kind; the arc keeps the part
   before the vertex, a new arc the part after it, and every area the arc
   bounded is bounded by both. Lines of fewer than 3 points split nothing.
   Then parameter 8 grows to the line's width or height when either exceeds
   it. Always returns 0; "ERROR bloqueando arco" (lock) or a damaged list
   ("ERROR DEL SISTEMA: Debe REGENERAR listas T2") leave that arc whole. */
CX_EXPORT(int16_t) verifique_topologia(int16_t count, const double* x, const double* y);

/* ------------------------------------------------------------------------
 * Hatching
 *
 * Polygons in world coordinates shaded with parallel lines in the current
 * colour: the hatch lines lie one hatch step of device pixels apart, so the
 * density does not change with the zoom, and run at minus the hatch angle
 * to the world x axis. Inside spans are taken by the even-odd rule; a line
 * through a vertex counts it for one of its two edges, so spans stay
 * paired. One call handles at most 121,830 crossings of edges with lines
 * (15 node blocks of 8,122); only the lines that can meet the clip region
 * are cut. Spans are drawn in line type 1; the line type is restored.
 * ------------------------------------------------------------------------ */

/* gdachang - sets the hatch angle to `degrees` (its sine and cosine from
   the tenth-of-a-degree table). Returns the argument. gabrest sets 0. */
CX_EXPORT(int16_t) gdachang(int16_t degrees);
/* gdachpaso - sets the hatch step in device pixels; 0 or less is taken as
   1. Returns the step stored. gabrest sets 1. */
CX_EXPORT(int16_t) gdachpaso(int16_t step);
/* gachurado - hatches the polygon of `count` points xs[i], ys[i] (world
   coordinates), closed back to its first point.
     count   points of the polygon; both arrays must have room for
             count + 1 points: xs[count], ys[count] receive the closing
             copy of point 0, and nothing else of them is changed
   Returns 1 hatched; 0 when nothing is drawn: fewer than 2 points, a null
   array, no device bound, no world transform, or a polygon whose box lies
   outside the clip region; -1, with nothing drawn, after "Error en malloc
   de SCAN_ARENA..." (memory) or "ERROR achurado: mem" (more crossings
   than the node blocks hold). */
CX_EXPORT(int16_t) gachurado(int16_t count, double* xs, double* ys);
/* achuraT3 - hatches the area object `object` of the current network (of
   kind 3): the rings its description's arcs form, as topo_area orders
   them, hatched together, so that holes stay empty and islands in holes
   are hatched again. While a work area is set (setting code 2 not 0) an
   area whose box misses the work extents is not drawn.
     object  the caller's host area record; its description head is read
   Returns gachurado's values; 0 as well for an area with no description
   or outside the work extents, after "achuraT3: LA CAPA ACTUAL NO ES DE
   AREAS" (no area network current), and after "achuraT3: ARCO n NO SE
   LEE" or a message of the description chain (a damaged description). */
CX_EXPORT(int16_t) achuraT3(const cx_area_object* object);

/* ------------------------------------------------------------------------
 * Thematic classes, legend and query files
 *
 * The classes of a thematic map are the legend slots of set_convens: slot
 * i holds class i's lower limit (class i runs from limit i to limit i + 1),
 * its five attributes (a the colour; e the legend sample: 0 a box hatched
 * at angle b and step c, 1 a line of type b and width c, 2 icon d) and its
 * label. The formulas are set_formulas' two texts; the legend box is the
 * placement of set_convxy. A stored query (".con") keeps all of it with
 * the view, the layer and kind switches, the settings, parameters, grid,
 * window history and work area; a display file (".des") keeps the work
 * polygon, the view and the work extents. docs/formats/thematic.md gives
 * both formats line by line and what a load applies.
 * ------------------------------------------------------------------------ */

/* showconv - draws the legend of the first `count` classes (at most 16) in
   the legend box, or, while the box is unset (equal corners), in the right
   fifth of the view, count twentieths of the view high from its bottom
   (the box is kept). Each row has the class's sample in its colour and its
   label, or when the label is blank the range its limits bound ("HASTA
   10.00    ", "10.00    A 20.00    ", "MAS DE 30.00    "); rows run down
   from the top while the y-direction flag is set. The box is erased and
   outlined in colour 15, and the text drawn in it, or everything in colour
   0 with the black-text flag cleared when `mono` is non-zero. Text size
   entry 1 is set to the row's text size and selected, the text angle is
   0; the colour, line type and width, hatch settings and black-text flag
   are given back.
   Returns the number of classes drawn; 0 for a count of 0 or less. */
CX_EXPORT(int16_t) showconv(int16_t count, int16_t mono);
/* guarde_stat - writes the session's query to `name` with its extension
   replaced by ".con" (zona.txt: zona.con; zona: zona.con). Texts are
   written on one line each, their control characters as blanks. A null or
   empty name writes nothing. The file is written whole under its name
   + "~" and then takes the old file's place. No result; "Error en
   archivo.." when the file cannot be created or written, and the old file
   stays as it was. */
CX_EXPORT(void) guarde_stat(const char* name);
/* cargue_stat - reads the query file `name`, else `name` + ".con", and
   applies it. The file is read whole first: a count beyond the table it
   fills (more than 255 layers, 9999 kinds, 16 classes, 10 titles, 32767
   polygon points), a number that is not one, a line longer than 500
   characters or a missing line shows "Consulta <file> da\xf1ada en la
   linea n" and changes nothing. Layer and kind lines beyond the session's
   tables, and a current layer or kind beyond them, are read and not
   applied. No result; when neither name opens, nothing changes and
   "No existe consulta <name>" is shown. */
CX_EXPORT(void) cargue_stat(const char* name);
/* guardespl - writes the work polygon, the view and the work extents to
   the file `name` as given. No result; "No hay Area.." when the work area
   is no polygon (modes 1 and 4) with points, "Error en archivo.." when the
   file cannot be created or written (written as guarde_stat writes, so
   the old file stays as it was). */
CX_EXPORT(void) guardespl(const char* name);
/* carguedespl - reads the display file `name`, else `name` + ".des": the
   polygon becomes the work polygon (mode 1, its old arrays freed), the
   view is applied as by set_video and the extents become the work
   extents. A damaged file (no points, more than 32767, a bad number or a
   missing line) shows "Despliegue <file> da\xf1ado en la linea n" and
   changes nothing. No result; when neither name opens, nothing changes
   and "No existe despliegue <name>" is shown. */
CX_EXPORT(void) carguedespl(const char* name);

#ifdef __cplusplus
}
#endif

#endif /* CARTEX32_H */
