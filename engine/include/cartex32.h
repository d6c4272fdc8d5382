/*
 * cartex32.h - the public interface of libcartex32, the vector map engine.
 *
 * Hosts bind these functions by name at run time (dlopen/dlsym) or link the
 * library directly. Conventions shared by every function:
 *
 *  - Integer arguments and results are int16_t (a host Integer) or int32_t
 *    (a host Long); world coordinates and measures are doubles.
 *  - Strings are NUL-terminated ANSI (Windows-1252) text. Output strings go
 *    into buffers the caller owns and has sized; the library never allocates
 *    memory for the caller and never frees what the caller passes.
 *  - Records and arrays are passed by reference into caller-owned memory.
 *  - Record and file operations return 0 on success and -1 on failure;
 *    setters and predicates return -1 for true and 0 for false. A failure has
 *    already been shown to the user through the message sink by the time the
 *    call returns; no error code is kept for later.
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

/* Writes the four bytes of *value most significant first into out[0..3].
   Nothing is written when either pointer is null. */
CX_EXPORT(void) paselong(const int32_t* value, uint8_t* out);

/* Writes the two bytes of *value most significant first into out[0..1].
   Nothing is written when either pointer is null. */
CX_EXPORT(void) paseint(const int16_t* value, uint8_t* out);

/* The high 16 bits of value, unsigned: 0..65535. */
CX_EXPORT(int32_t) hi_word(int32_t value);

/* The low 16 bits of value as a signed 16-bit number. */
CX_EXPORT(int16_t) lo_word(int32_t value);

/* Copies count bytes (read as unsigned, 0..65535) from source to
   destination; overlapping ranges are copied correctly. Note the order:
   source first. Returns -1. A null pointer copies nothing. */
CX_EXPORT(int16_t) mueva(const void* source, void* destination, int16_t count);

/* ------------------------------------------------------------------------
 * Host window, stop request and active flag
 * ------------------------------------------------------------------------ */

/* Stores the host window: the owner passed to the message sink with every
   message, and the window whose events long loops let run. Returns -1. */
CX_EXPORT(int16_t) set_Hwnd(int32_t window);

/* Asks a running redraw of the base to stop at its next item. The argument
   is ignored. Safe to call from the event pump callback. */
CX_EXPORT(void) terminar(int32_t ignored);

/* Set the active flag to -1 (returns -1) or to 0 (returns 0); cartex_activo
   returns it. The library itself never reads the flag. */
CX_EXPORT(int16_t) activar_cartex(int32_t ignored);
CX_EXPORT(int16_t) desactivar_cartex(int32_t ignored);
CX_EXPORT(int16_t) cartex_activo(int32_t ignored);

/* ------------------------------------------------------------------------
 * Street address tokenizer
 * ------------------------------------------------------------------------ */

/* Makes blank, '#', '-', '.' and '"' separators and 0-9 digits. Call once
   before the first Get_Dir_Token; before it the whole rest of the text after
   leading blanks is one token. */
CX_EXPORT(void) Init_Adress(void);

/* Stores an upper-cased copy of text (at most 255 characters are kept) as
   the address text. A null text stores the empty text. */
CX_EXPORT(void) Set_Adress(const char* text);

/* Writes the next token of the address text from the 1-based position into
   token (at most 255 characters and a NUL; the caller's buffer must hold
   256 bytes) and returns how many characters were consumed, blanks before
   the token included. The caller adds the result to its position and calls
   again until the result is 0, which comes with an empty token. A position
   below 1 or past the text gives 0 and an empty token; a null token buffer
   gives 0. */
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

/* Shows one message and returns the button pressed. owner is the window
   given to set_Hwnd (0 before it); caption and text are valid only during
   the call. For plain notices (style CX_MB_OK) the result is ignored. The
   callback has the library's calling convention (__stdcall on 32-bit
   Windows, as a Visual Basic AddressOf function has). */
typedef int32_t(CX_CALL* cx_message_fn)(void* user, int32_t owner, const char* caption,
                                        const char* text, int32_t style);

/* Installs the host's message callback; user is passed back unchanged. A
   null callback restores the default sink: on Windows a modal MessageBoxA
   owned by the set_Hwnd window; elsewhere "caption: text" on standard error
   with every question answered by its safe choice (Cancel, No or Abort;
   nothing is deleted without a yes). Returns -1. */
CX_EXPORT(int16_t) cx_set_message_callback(cx_message_fn callback, void* user);

/* Lets the host's pending events run. Long loops call it every few items so
   that the host stays responsive and can call terminar. Same calling
   convention as the exports. */
typedef void(CX_CALL* cx_pump_fn)(void* user);

/* Installs the host's event pump; a null callback removes it. Without one,
   long loops on Windows peek, translate and dispatch the messages of the
   set_Hwnd window themselves; elsewhere they let nothing run. Returns -1. */
CX_EXPORT(int16_t) cx_set_pump_callback(cx_pump_fn callback, void* user);

/* ------------------------------------------------------------------------
 * Record files
 *
 * Handles are small integers from the file openers (-1: not open). A record
 * file holds record n at byte n x size; record 0 is its header. Reads and
 * writes return 0 or -1; a failed read leaves the buffer zeroed, and every
 * failure has been reported ("LEER: Error en reg. ...") with the file's name,
 * the handle and the highest record present.
 * ------------------------------------------------------------------------ */

/* -1 if path names a file that can be opened for shared reading and
   writing, else 0. Nothing is created; the test handle is closed again. */
CX_EXPORT(int16_t) sverify(const char* path);

/* Reads record `record` of `size` bytes (1..32767) into buffer. Offsets are
   computed in 64 bits. A null buffer or a size below 1 is refused (-1). */
CX_EXPORT(int16_t) sleer(int16_t handle, void* buffer, int32_t record, int16_t size);

/* Writes size bytes of data as record `record`; beyond the end the file
   grows. */
CX_EXPORT(int16_t) sescribir(int16_t handle, const void* data, int32_t record, int16_t size);

/* Reads count bytes at a byte offset ("LEA_BYTES: ..." on failure). */
CX_EXPORT(int16_t) lea_bytes(int16_t handle, int32_t offset, void* buffer, int16_t count);

/* Reads a point list of a block file: count x values from offset, then
   count y values. x and y must each hold count doubles. 0 or -1. */
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

/* Typed reads of record `record` (the fourth argument is ignored). A failed
   read zeroes the whole host record; a null record is refused. */
CX_EXPORT(int16_t) sleer_obj(int16_t handle, cx_object* object, int32_t record, int16_t ignored);
CX_EXPORT(int16_t) sleer_nod(int16_t handle, cx_node* node, int32_t record, int16_t ignored);
CX_EXPORT(int16_t) sleer_arc(int16_t handle, cx_arc* arc, int32_t record, int16_t ignored);
CX_EXPORT(int16_t)
sleer_top(int16_t handle, cx_area_object* object, int32_t record, int16_t ignored);
CX_EXPORT(int16_t) sleer_are(int16_t handle, cx_area* area, int32_t record, int16_t ignored);

/* Typed writes: the record is packed and written as record `record` of
   `size` bytes, the packed size (31, 46, 41, 48, 29); bytes of a larger size
   beyond the packed record are written as zeros. A size smaller than the
   packed record, or a null record, is refused (-1). */
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
 * table's default entry). A number outside the loaded table, a negative
 * count or a null pointer where values are expected is refused with an
 * error message and the function's failure value; nothing is read or
 * written.
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
  uint8_t reserved69;
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

/* Opens the session on the base of the current directory: loads the layer
   and kind tables (a missing table is reported and left empty), resets the
   settings, parameters, work area and current layer. Returns 0. */
CX_EXPORT(int16_t) inigks(int32_t ignored);
/* Ends the session: closes the current layer's files and frees the tables
   and every session array. Returns 0. */
CX_EXPORT(int16_t) end_cons(int32_t ignored);
/* Prepares the base's files: creates missing T0 indexes and the files of
   each layer's network. Returns 0. */
CX_EXPORT(int16_t) inifil(int32_t ignored);

/* Settings 1..25. Code 24 selects the current layer (0: none), code 25 the
   current object kind. set_consts returns the value stored (0 when a layer
   or kind outside the table is refused); other codes change nothing and
   get_consts gives 0 for them. */
CX_EXPORT(int16_t) set_consts(int16_t code, int16_t value);
CX_EXPORT(int16_t) get_consts(int16_t code);

/* Display switch of a layer or kind (0: drawn). set_ returns the switch. */
CX_EXPORT(int16_t) set_capas(int16_t layer, int16_t hidden);
CX_EXPORT(int16_t) get_capas(int16_t layer);
CX_EXPORT(int16_t) set_objetos(int16_t kind, int16_t hidden);
CX_EXPORT(int16_t) get_objetos(int16_t kind);

/* Copy a whole layer or kind record in or out. */
CX_EXPORT(void) set_tcapas(int16_t layer, const cx_layer* record);
CX_EXPORT(void) get_tcapas(int16_t layer, cx_layer* record);
CX_EXPORT(void) set_tobjetos(int16_t kind, const cx_kind* record);
CX_EXPORT(void) get_tobjetos(int16_t kind, cx_kind* record);

/* Grid: a switch (setting 14) and five values. */
CX_EXPORT(void) set_grid(int16_t on, double g1, double g2, double g3, double g4, double g5);
CX_EXPORT(void) get_grid(int16_t* on, double* g1, double* g2, double* g3, double* g4, double* g5);

/* The thirteen parameters: p1..p9 sizes and margins (p1 the base size, p8
   the search margin, p9 half the window width), p10 the units of measures
   (setting 10), p11 and p12 graphics kernel values (read only), p13 the
   node search tolerance. */
CX_EXPORT(void)
set_params(const double* p1, const double* p2, const double* p3, const double* p4, const double* p5,
           const double* p6, const double* p7, const double* p8, const double* p9,
           const int16_t* p10, const int16_t* p11, const int16_t* p12, const double* p13);
CX_EXPORT(void)
get_params(double* p1, double* p2, double* p3, double* p4, double* p5, double* p6, double* p7,
           double* p8, double* p9, int16_t* p10, int16_t* p11, int16_t* p12, double* p13);

/* Limits polygon: replaced by count points (0 removes it). get_lims writes
   the count and the points; x and y must hold as many as were set. */
CX_EXPORT(int16_t) set_lims(int16_t count, const double* x, const double* y);
CX_EXPORT(void) get_lims(int16_t* count, double* x, double* y);

/* Description polygon: up to 900 points are kept. */
CX_EXPORT(void) set_descr(int16_t count, const double* x, const double* y);

/* Work area: a polygon (mode 1), a rectangle (3) or a circle (2). */
CX_EXPORT(int16_t) set_workpol(int16_t count, const double* x, const double* y);
CX_EXPORT(void) set_workxy(double x1, double y1, double x2, double y2);
CX_EXPORT(void) set_workcirc(double cx, double cy, double r);
/* Writes the work area's extents; returns its mode (0: none). */
CX_EXPORT(int16_t)
get_work_extents(double* xmin, double* ymin, double* xmax, double* ymax);

/* Legend slots 0..16, chosen by record->index. */
CX_EXPORT(void) set_convens(const cx_legend_slot* record);
CX_EXPORT(void) get_convens(cx_legend_slot* record);
/* Legend placement. */
CX_EXPORT(void) set_convxy(const double* x1, const double* y1, const double* x2, const double* y2);
CX_EXPORT(void) get_convxy(double* x1, double* y1, double* x2, double* y2);

/* The world window. set_video orders the corners, makes each side at least
   1 and widens one axis to the shape of the device (square when no device
   is bound). initst resets it and its 5-window history to (0, 0, 2000000,
   2000000); dmoven keeps it in the history and redraws; last_window goes
   back in the history; zoom_in and zoom_out narrow or widen it by an
   eighth of its width (without redrawing). */
CX_EXPORT(void) get_video(double* xmin, double* ymin, double* xmax, double* ymax);
CX_EXPORT(void) set_video(double x1, double y1, double x2, double y2);
CX_EXPORT(int16_t) initst(int32_t ignored);
CX_EXPORT(void) dmoven(int32_t ignored);
CX_EXPORT(void) last_window(int32_t ignored);
CX_EXPORT(void) zoom_in(int32_t ignored);
CX_EXPORT(void) zoom_out(int32_t ignored);

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

/* Makes a device of ancho x alto pixels (each 1..32767). Returns its handle,
   or 0 for a size out of range or when memory runs out. The library owns
   the device until liberar_dispositivo. */
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
   icons of the base (tabico.dat); a missing file leaves its table empty,
   silently. Selects a blue pen and the clip region (0, 0, 100, 100) in
   device pixels. The argument is ignored; returns 0. */
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
CX_EXPORT(int16_t) gelipse(double x, double y, double ignored1, double ignored2, double rx,
                           double ry);
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
CX_EXPORT(void) set_origin(double lat_deg, double lat_min, double lat_sec, double lon_deg,
                           double lon_min, double lon_sec);
/* Sets the false easting and northing, the grid values of the origin. */
CX_EXPORT(void) set_target(double false_easting, double false_northing);
/* Writes the grid coordinates of a latitude and longitude in decimal
   degrees. The origin maps exactly onto (false easting, false northing). */
CX_EXPORT(void) convert_latlon(double lat, double lon, double* easting, double* northing);
/* The same from degrees, minutes and seconds. */
CX_EXPORT(void) convlatlon(double lat_deg, double lat_min, double lat_sec, double lon_deg,
                           double lon_min, double lon_sec, double* easting, double* northing);
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
CX_EXPORT(void) gdigcal(int16_t count, const double* xd, const double* yd, const double* xw,
                        const double* yw);
/* Tablet to world, and world to tablet, through the calibration in force. */
CX_EXPORT(void) a_mundo(double x, double y, double* xw, double* yw);
CX_EXPORT(void) a_digit(double x, double y, double* xd, double* yd);

#ifdef __cplusplus
}
#endif

#endif /* CARTEX32_H */
