// Character references that the scanner decodes after its own entity
// table: the named references of HTML 4 and the numeric ones.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trawlix {

// The code point of an HTML 4 named reference ("eacute" without & and ;).
std::optional<uint32_t> html4_reference(std::string_view name);

// Decodes, in one left-to-right pass, every reference of `line` that ends
// with ";": named HTML 4 ones and "&#233;" / "&#xE9;". Each becomes its
// Windows-1252 character, or a blank when it has none; "<" and ">" become
// blanks so that decoded text never opens or closes a tag. Decoded text is
// not decoded again. Anything else stays as written.
std::string decode_references(std::string_view line);

}  // namespace trawlix
