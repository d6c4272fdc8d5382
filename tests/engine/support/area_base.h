// A base for the tests of area networks: crear_BG's base (layer 1 "topo"
// of kind 3 with kinds 1 arc and 2 node) in the current directory, with a
// polygonal area kind 3 added; the session opened on layer 1 with kind 3
// current.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "support/engine_library.h"
#include "support/kept_messages.h"
#include "support/temp_base.h"

namespace cx::testing {

// Shows the engine's messages into *messages; red receives the network's
// handle record. false when a step fails.
inline bool open_area_base(const EngineLibrary& lib, const char* kind_name,
                           std::vector<std::string>* messages, int16_t* red) {
  CX_BIND(lib, cx_set_message_callback)(keep_message, messages);
  if (CX_BIND(lib, crear_BG)(0) != 0) return false;
  std::vector<unsigned char> kinds = TempBase::bytes("TABOBJ.DAT");
  cx_kind area{};
  std::strncpy(area.name, kind_name, sizeof area.name - 1);
  area.layer = 1;
  const auto* p = reinterpret_cast<const unsigned char*>(&area);
  kinds.insert(kinds.end(), p, p + sizeof area);
  kinds[0] = 3;
  TempBase::write("TABOBJ.DAT", kinds);
  int16_t networks = 0;
  if (CX_BIND(lib, inigks)(0) != 0 || CX_BIND(lib, inifil)(0) != 0 ||
      CX_BIND(lib, set_consts)(24, 1) != 1 || CX_BIND(lib, set_consts)(25, 3) != 3)
    return false;
  CX_BIND(lib, get_red)(red, 1, &networks);
  return networks == 1;
}

}  // namespace cx::testing
