// The stroke font and icon files written from their readable sources
// (data/cartex32/stroke_font.txt and icons.txt): the formats the engine
// loads at ginicie, 128 character records of 82 bytes and a record file of
// 531-byte icon records.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace cx::tools {

// Reads the source and fills `out` with the file's bytes. False with
// `error` set ("line N: ...") for a line that cannot be read; nothing is
// kept of a source with an error.
bool escriba_fuente_vectorial(std::istream& source, std::vector<uint8_t>& out, std::string& error);
bool escriba_iconos(std::istream& source, std::vector<uint8_t>& out, std::string& error);

}  // namespace cx::tools
