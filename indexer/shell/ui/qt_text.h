// Text between the core and the widgets: the core holds Windows-1252 bytes
// with "\r" line breaks, Qt holds Unicode.
#pragma once

#include <QString>
#include <string>

namespace trawlix {

// Text of the core for display: Windows-1252 to Unicode, "\r" (and "\r\n")
// to a line break.
QString display_text(const std::string& cp1252);

// The text of a field as the core holds text: a character Windows-1252
// cannot hold becomes "?".
std::string core_text(const QString& text);

}  // namespace trawlix
