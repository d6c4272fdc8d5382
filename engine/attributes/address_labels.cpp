// Code labels: veacod draws an object's code, or its street address for
// kinds whose codes are addresses. A 10-byte address code holds, from byte
// 0: an unused byte, the main street number (16-bit little-endian at 1),
// the street type (3), the first suffix (4), the cross street number
// (16-bit little-endian at 5), an unused byte, the second suffix (8) and
// the house number (9).
#include <cstdio>
#include <cstring>

#include "attributes/kind_style.h"
#include "records/codec.h"
#include "session/session.h"

namespace cx::atr {

namespace {

const char* const kTiposVia[11] = {"Cl.", "Int", "Cl.",     "Dg.",    "Av.",   "Kr.",
                                   "Tr.", "Av.", "Carret.", "Camino", "Paseo "};

const char* const kSufijos[100] = {
    " ",       "bis",     "bis A",   "bis B",   "bis C",   "bis D",   "bis F",   "bis F",
    "I",       "bis E",   "A",       "A bis",   "W",       "A bis A", "A bis B", "A bis C",
    "A bis D", " ",       "J bis",   "J bis A", "B",       "B bis",   "B bis A", "B bis B",
    "B bis C", "B bis D", "K bis",   "K bis A", "L bis",   "L bis A", "C",       "C bis",
    "C bis A", "C bis B", "C bis C", "S",       "M bis",   "M bis A", "N bis",   "N bis A",
    "D",       "D bis",   "D bis A", "D bis B", "D bis C", "S bis",   "P bis",   "P bis A",
    "Q bis",   "Q bis A", "R bis",   "R bis A", "T bis",   "T bis A", "U bis",   "U bis A",
    "X bis",   "X bis A", "Y bis",   "Y bis A", "F",       "F bis",   "F bis A", "F bis B",
    " ",       "Z bis",   "Z bis A", "% bis",   "% bis A", "V bis",   "G",       "G bis",
    "G bis A", "E",       "V bis A", "H",       "H bis",   "H bis a", " ",       "W bis",
    "I",       "O",       " ",       " ",       "W bis A", "J",       "K",       "L",
    "M",       "N",       "P",       "Q",       "R",       "T",       "U",       "X",
    "X",       "Z",       "%",       "V"};

}  // namespace

std::string texto_codigo(const unsigned char* code, bool address) {
  char text[96];
  if (address) {
    const int main = static_cast<uint16_t>(get_le16(code + 1)) % 300;
    const int cross = static_cast<uint16_t>(get_le16(code + 5)) % 300;
    std::snprintf(text, sizeof text, "%s%d%s#%d%s-%d", kTiposVia[code[3] % 11], main,
                  kSufijos[code[4] % 100], cross, kSufijos[code[8] % 100], code[9]);
  } else {
    // The code is 10 bytes: nothing past them is read.
    std::memcpy(text, code, 10);
    text[10] = 0;
  }
  std::string s(text);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace cx::atr

CX_EXPORT(int16_t) veacod(const unsigned char* code, const cx_object* object) {
  using namespace cx;
  if (punteros_nulos("veacod", {code, object})) return -1;
  const cx_kind* k = registro_tipo(object->kind, "veacod");
  if (!k) return -1;
  if (k->no_code_label) return 0;
  const std::string text = atr::texto_codigo(code, k->code_form == 1);
  const double h = atr::altura_texto();
  const double dx = k->geometry == 2 ? h / 2 : 0;
  const double dy = k->geometry == 2 ? h / 2 : h;
  atr::dibuje_rotulo(object->x + dx, object->y + dy, object->rotation / 10.0, text.c_str());
  return 0;
}
