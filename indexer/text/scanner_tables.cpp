// The scanner's tables. Characters above 0x7F are written as Windows-1252
// byte escapes so that positions stay parallel.
#include "text/scanner_tables.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "base/cp1252.h"

namespace trawlix {
namespace {

// The word characters: A-Z, a-z, the digits, the accented Latin letters of
// Windows-1252 and "_"; position k of kFoldedChars is the folded form of
// position k of kWordChars.
constexpr std::string_view kWordChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890"
    "\xC7\xE7\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4\xD5"
    "\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE8\xE9\xEA\xEB\xEC\xED\xEE"
    "\xEF\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF"
    "_";
constexpr std::string_view kFoldedChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890"
    "CcAAAAAAAEEEEIIIID\xD1OOOOOOUUUUY\xDE\xDF"
    "aaaaaaaeeeeiiiio\xF1oooooouuuuyby"
    "_";
static_assert(kWordChars.size() == 125 && kFoldedChars.size() == kWordChars.size());

// byte -> position (from 1) in kWordChars, 0 for the other bytes.
constexpr std::array<unsigned char, 256> kPosition = [] {
  std::array<unsigned char, 256> position{};
  for (size_t k = 0; k < kWordChars.size(); ++k) {
    position[static_cast<unsigned char>(kWordChars[k])] = static_cast<unsigned char>(k + 1);
  }
  return position;
}();

constexpr std::string_view kTagNames[] = {
    "<A",      "<ABBR",     "<ACRONYM",  "<ADDRESS", "<APPLET",     "<AREA",     "<B",
    "<BASE",   "<BASEFONT", "<BDO",      "<BIG",     "<BLOCKQUOTE", "<BODY",     "<BR",
    "<BUTTON", "<CAPTION",  "<CENTER",   "<CITE",    "<CODE",       "<COL",      "<COLGROUP",
    "<DD",     "<DEL",      "<DFN",      "<DIR",     "<DIV",        "<DL",       "<DT",
    "<EM",     "<FIELDSET", "<FONT",     "<FORM",    "<FRAME",      "<FRAMESET", "<H1",
    "<H2",     "<H3",       "<H4",       "<H5",      "<H6",         "<HEAD",     "<HR",
    "<HTML",   "<I",        "<IFRAME",   "<IMG",     "<INPUT",      "<INS",      "<ISINDEX",
    "<KBD",    "<LABEL",    "<LEGEND",   "<LI",      "<LINK",       "<MAP",      "<MENU",
    "<META",   "<NOFRAMES", "<NOSCRIPT", "<OBJECT",  "<OL",         "<OPTGROUP", "<OPTION",
    "<P",      "<PARAM",    "<PRE",      "<Q",       "<S",          "<SAMP",     "<SCRIPT",
    "<SELECT", "<SMALL",    "<SPAN",     "<STRIKE",  "<STRONG",     "<STYLE",    "<SUB",
    "<SUP",    "<TABLE",    "<TBODY",    "<TD",      "<TEXTAREA",   "<TFOOT",    "<TH",
    "<THEAD",  "<TITLE",    "<TR",       "<TT",      "<U",          "<UL",       "<VAR"};

constexpr std::string_view kEntityNames[] = {
    "&aacute;", "&eacute;", "&iacute;", "&oacute;", "&uacute;", "&Aacute;", "&Eacute;", "&Iacute;",
    "&Oacute;", "&Uacute;", "&ntilde;", "&Ntilde;", "&ccedil;", "&Ccedil;", "&Agrave;", "&Egrave;",
    "&Igrave;", "&Ograve;", "&Ugrave;", "&agrave;", "&egrave;", "&igrave;", "&ograve;", "&ugrave;",
    "&acirc;",  "&ecirc;",  "&icirc;",  "&ocirc;",  "&ucirc;",  "&Acirc;",  "&Ecirc;",  "&Icirc;",
    "&Ocirc;",  "&Ucirc;",  "&atilde;", "&otilde;", "&Atilde;", "&Otilde;"};
// \xE1\xE9\xED\xF3\xFA = áéíóú, and so on, in the order of kEntityNames.
constexpr std::string_view kEntityChars =
    "\xE1\xE9\xED\xF3\xFA\xC1\xC9\xCD\xD3\xDA\xF1\xD1\xE7\xC7\xC0\xC8\xCC\xD2\xD9\xE0\xE8\xEC\xF2"
    "\xF9\xE2\xEA\xEE\xF4\xFB\xC2\xCA\xCE\xD4\xDB\xE3\xF5\xC3\xD5";

constexpr std::string_view kTextExtensions[] = {
    "HTM", "HTML", "TXT",   "TEXT", "CFM", "CFML", "ASP", "PHP",  "JSP", "SHTM", "JHTML",
    "ASA", "DBM",  "SHTML", "CGI",  "PL",  "SQL",  "VTM", "VTML", "WML", "/"};
constexpr std::string_view kRefusedExtensions[] = {"ZIP", "PDF",  "DOC", "EXE",  "TAR",   "CAB",
                                                   "JPG", "JPEG", "GIF", "JAVA", "CLASS", "CSS",
                                                   "JS",  "VB",   "VBS", "BAS"};

static_assert(std::size(kEntityNames) == kEntityChars.size());
static_assert(std::ranges::is_sorted(kTagNames), "is_known_tag stops at the first greater name");

constexpr ScannerTables kTables{kWordChars,   kFoldedChars,    kTagNames,         kEntityNames,
                                kEntityChars, kTextExtensions, kRefusedExtensions};

}  // namespace

const ScannerTables& scanner_tables() {
  return kTables;
}

int word_char_position(char c) {
  return kPosition[static_cast<unsigned char>(c)];
}

bool is_known_tag(std::string_view token) {
  if (token.starts_with("<CF") || token.starts_with("<%")) return true;
  const ScannerTables& t = scanner_tables();
  bool found = false;
  for (std::string_view name : t.tag_names) {
    if (name > token) break;
    if (name == token) found = true;
  }
  return found;
}

bool accept_extension(std::string_view extension) {
  const ScannerTables& t = scanner_tables();
  std::string upper = upper_cp1252(extension);
  for (std::string_view known : t.text_extensions) {
    if (known == upper) return true;
  }
  return false;
}

std::string replace_entities(std::string line) {
  const ScannerTables& t = scanner_tables();
  std::string out;
  out.reserve(line.size());
  for (size_t i = 0; i < line.size();) {
    size_t k = 0;
    if (line[i] == '&') {
      std::string_view at = std::string_view(line).substr(i);
      while (k < t.entity_names.size() && !at.starts_with(t.entity_names[k])) ++k;
    }
    if (line[i] == '&' && k < t.entity_names.size()) {
      out += t.entity_chars[k];
      i += t.entity_names[k].size();
    } else {
      out += line[i++];
    }
  }
  return out;
}

}  // namespace trawlix
