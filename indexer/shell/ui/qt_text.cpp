// Conversions between the core's Windows-1252 text and Qt's strings.
#include "shell/ui/qt_text.h"

#include "base/cp1252.h"

namespace trawlix {

QString display_text(const std::string& cp1252) {
  QString text = QString::fromStdString(cp1252_to_utf8(cp1252));
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

std::string core_text(const QString& text) {
  return utf8_to_cp1252(text.toStdString());
}

}  // namespace trawlix
