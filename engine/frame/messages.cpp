// The message buffer and the message boxes over the host window.
#include "frame/messages.h"

#include <cstdarg>
#include <cstdio>

#include "cartex32.h"
#include "frame/host.h"
#include "platform/message_sink.h"

namespace cx {

char texto_mensaje[kTextoMensajeSize];

namespace {

void vformatee(const char* format, va_list args) {
  // A text that aliases the buffer itself would be overwritten while it is
  // read, so it is formatted into a scratch copy first.
  char scratch[kTextoMensajeSize];
  std::vsnprintf(scratch, sizeof scratch, format, args);
  for (std::size_t i = 0; i < sizeof scratch; ++i) {
    texto_mensaje[i] = scratch[i];
    if (!scratch[i]) break;
  }
}

}  // namespace

void formatee(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vformatee(format, args);
  va_end(args);
}

void informe_error(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vformatee(format, args);
  va_end(args);
  avise_error(texto_mensaje);
}

void avise(const char* text) {
  message_sink().show(host_window(), kCaption, text, CX_MB_OK | CX_MB_ICONINFORMATION);
}

void avise_error(const char* text) {
  message_sink().show(host_window(), kCaption, text, CX_MB_OK | CX_MB_ICONSTOP);
}

int pregunte(const char* text, int style, const char* caption) {
  return message_sink().show(host_window(), caption, text, style);
}

}  // namespace cx
