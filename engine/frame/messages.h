// How the engine tells the user about failures: one shared message buffer,
// texto_mensaje, into which a caller formats its text, and the message
// boxes that show it through the process-wide message sink.
#pragma once

#include <cstddef>

namespace cx {

// Every formatted error text is written here before it is shown. Texts
// longer than the buffer are cut.
inline constexpr std::size_t kTextoMensajeSize = 4096;
extern char texto_mensaje[kTextoMensajeSize];

inline constexpr const char* kCaption = "Mensaje de Cartex_win";

// Formats into texto_mensaje (C format conventions), cut at its size.
void formatee(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Notice with the information icon and an OK button.
void avise(const char* text);

// The same with the error (stop) icon: how every I/O, lock, memory and
// consistency failure of the library is reported.
void avise_error(const char* text);

// Formats into texto_mensaje and shows it with avise_error.
void informe_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Asks with the caller's caption and CX_MB_* style; returns the CX_ID* code
// of the button pressed.
int pregunte(const char* text, int style, const char* caption);

}  // namespace cx
