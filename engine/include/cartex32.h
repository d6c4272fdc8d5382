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
#define CX_VISIBLE __declspec(dllexport)
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
   the call. For plain notices (style CX_MB_OK) the result is ignored. */
typedef int32_t (*cx_message_fn)(void* user, int32_t owner, const char* caption, const char* text,
                                 int32_t style);

/* Installs the host's message callback; user is passed back unchanged. A
   null callback restores the default sink, which writes "caption: text" to
   standard error and answers every question with its safe choice (Cancel,
   No or Abort; nothing is deleted without a yes). Returns -1. */
CX_EXPORT(int16_t) cx_set_message_callback(cx_message_fn callback, void* user);

/* Lets the host's pending events run. Long loops call it every few items so
   that the host stays responsive and can call terminar. */
typedef void (*cx_pump_fn)(void* user);

/* Installs the host's event pump; a null callback removes it. Returns -1. */
CX_EXPORT(int16_t) cx_set_pump_callback(cx_pump_fn callback, void* user);

#ifdef __cplusplus
}
#endif

#endif /* CARTEX32_H */
