/* Calls the library's C interface from C, linked the ordinary way. */
#include <stdio.h>
#include <string.h>

#include "cartex32.h"

static int failures = 0;

#define CHECK(cond)                                                      \
  do {                                                                   \
    if (!(cond)) {                                                       \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                        \
    }                                                                    \
  } while (0)

static int questions = 0; /* messages shown through the callback */

static int32_t answer_yes(void* user, int32_t owner, const char* caption, const char* text,
                          int32_t style) {
  (void)user;
  (void)owner;
  (void)caption;
  (void)text;
  (void)style;
  ++questions;
  return CX_IDYES;
}

int main(void) {
  uint8_t bytes[4];
  int32_t value = 0x01020304;
  int16_t half = 258;
  char token[256];
  char buffer[8] = "abcdefg";

  paselong(&value, bytes);
  CHECK(bytes[0] == 1 && bytes[1] == 2 && bytes[2] == 3 && bytes[3] == 4);
  paseint(&half, bytes);
  CHECK(bytes[0] == 1 && bytes[1] == 2);
  CHECK(hi_word(-1) == 65535);
  CHECK(lo_word(65535) == -1);
  CHECK(mueva(buffer, buffer + 1, 3) == -1);
  CHECK(strcmp(buffer, "aabcefg") == 0);

  Init_Adress();
  Set_Adress("cl. 45");
  CHECK(Get_Dir_Token(1, token) == 3 && strcmp(token, "CL.") == 0);
  CHECK(Get_Dir_Token(4, token) == 3 && strcmp(token, "45") == 0);
  CHECK(Get_Dir_Token(7, token) == 0 && token[0] == '\0');

  CHECK(set_Hwnd(5) == -1);
  CHECK(activar_cartex(0) == -1 && cartex_activo(0) == -1);
  CHECK(desactivar_cartex(0) == 0 && cartex_activo(0) == 0);
  /* A failed read is reported through the host's callback. */
  CHECK(cx_set_message_callback(answer_yes, NULL) == -1);
  CHECK(sverify("/nonexistent/cartex32/X.DAT") == 0);
  CHECK(sleer(-1, token, 1, 10) == -1);
  CHECK(token[0] == 0 && token[9] == 0);
  CHECK(questions == 1);
  CHECK(cx_set_message_callback(NULL, NULL) == -1);

  if (failures) fprintf(stderr, "%d checks failed\n", failures);
  return failures ? 1 : 0;
}
