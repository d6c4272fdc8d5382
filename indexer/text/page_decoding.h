// Bringing a stored page to Windows-1252, the code page the scanner's
// tables are written in.
#pragma once

#include <string>
#include <string_view>

namespace trawlix {

// True when the page is UTF-8: it starts with the UTF-8 byte-order mark,
// declares charset=utf-8, or, declaring no charset, is well-formed UTF-8
// with at least one non-ASCII byte.
bool page_is_utf8(std::string_view page);

// The page as Windows-1252 text: a UTF-8 page is transcoded (its byte-order
// mark dropped, characters without a Windows-1252 form becoming blanks);
// any other page is taken as Windows-1252 already.
std::string page_to_cp1252(std::string_view page);

}  // namespace trawlix
