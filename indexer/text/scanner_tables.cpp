// The scanner's tables. Characters above 0x7F are written as Windows-1252
// byte escapes so that positions stay parallel.
#include "text/scanner_tables.h"

#include "base/cp1252.h"

namespace trawlix {
namespace {

ScannerTables g_tables;
std::array<unsigned char, 256> g_position{};  // byte -> position in word_chars
bool g_filled = false;

const char kLatinLetters[] =
    "\xC7\xE7\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4\xD5"
    "\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE8\xE9\xEA\xEB\xEC\xED\xEE"
    "\xEF\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF";
const char kLatinFolded[] =
    "CcAAAAAAAEEEEIIIID\xD1OOOOOOUUUUY\xDE\xDF"
    "aaaaaaaeeeeiiiio\xF1oooooouuuuyby";

const char* const kTagNames[] = {
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

const char* const kEntityNames[] = {
    "&aacute;", "&eacute;", "&iacute;", "&oacute;", "&uacute;", "&Aacute;", "&Eacute;", "&Iacute;",
    "&Oacute;", "&Uacute;", "&ntilde;", "&Ntilde;", "&ccedil;", "&Ccedil;", "&Agrave;", "&Egrave;",
    "&Igrave;", "&Ograve;", "&Ugrave;", "&agrave;", "&egrave;", "&igrave;", "&ograve;", "&ugrave;",
    "&acirc;",  "&ecirc;",  "&icirc;",  "&ocirc;",  "&ucirc;",  "&Acirc;",  "&Ecirc;",  "&Icirc;",
    "&Ocirc;",  "&Ucirc;",  "&atilde;", "&otilde;", "&Atilde;", "&Otilde;"};
// \xE1\xE9\xED\xF3\xFA = áéíóú, and so on, in the order of kEntityNames.
const char kEntityChars[] =
    "\xE1\xE9\xED\xF3\xFA\xC1\xC9\xCD\xD3\xDA\xF1\xD1\xE7\xC7\xC0\xC8\xCC\xD2\xD9\xE0\xE8\xEC\xF2"
    "\xF9\xE2\xEA\xEE\xF4\xFB\xC2\xCA\xCE\xD4\xDB\xE3\xF5\xC3\xD5";

const char* const kTextExtensions[] = {"HTM", "HTML", "TXT",  "TEXT",  "CFM",  "CFML", "ASP",
                                       "PHP", "JSP",  "SHTM", "JHTML", "ASA",  "DBM",  "SHTML",
                                       "CGI", "PL",   "SQL",  "VTM",   "VTML", "WML",  "/"};
const char* const kRefusedExtensions[] = {"ZIP", "PDF",  "DOC", "EXE",  "TAR",   "CAB",
                                          "JPG", "JPEG", "GIF", "JAVA", "CLASS", "CSS",
                                          "JS",  "VB",   "VBS", "BAS"};

template <size_t N, size_t M>
int fill(std::array<std::string, N>& table, const char* const (&names)[M]) {
  static_assert(M <= N);
  for (size_t k = 0; k < M; ++k) table[k] = names[k];
  return static_cast<int>(M);
}

}  // namespace

void init_tables() {
  ScannerTables& t = g_tables;
  t.word_chars.clear();
  for (char c = 'A'; c <= 'Z'; ++c) t.word_chars += c;
  for (char c = 'a'; c <= 'z'; ++c) t.word_chars += c;
  t.word_chars += "1234567890";
  t.folded_chars = t.word_chars;
  t.word_chars += kLatinLetters;
  t.folded_chars += kLatinFolded;
  t.word_chars += '_';
  t.folded_chars += '_';
  t.tag_count = fill(t.tag_names, kTagNames);
  fill(t.entity_names, kEntityNames);
  t.entity_chars = kEntityChars;
  t.text_extension_count = fill(t.text_extensions, kTextExtensions);
  t.refused_extension_count = fill(t.refused_extensions, kRefusedExtensions);
  g_position.fill(0);
  for (size_t k = 0; k < t.word_chars.size(); ++k) {
    g_position[static_cast<unsigned char>(t.word_chars[k])] = static_cast<unsigned char>(k + 1);
  }
  g_filled = true;
}

const ScannerTables& scanner_tables() {
  if (!g_filled) init_tables();
  return g_tables;
}

int word_char_position(char c) {
  if (!g_filled) init_tables();
  return g_position[static_cast<unsigned char>(c)];
}

bool is_known_tag(std::string_view token) {
  if (token.starts_with("<CF") || token.starts_with("<%")) return true;
  const ScannerTables& t = scanner_tables();
  bool found = false;
  for (int k = 0; k < t.tag_count; ++k) {
    if (t.tag_names[k] > token) break;
    if (t.tag_names[k] == token) found = true;
  }
  return found;
}

bool accept_extension(std::string_view extension) {
  const ScannerTables& t = scanner_tables();
  std::string upper = upper_cp1252(extension);
  for (int k = 0; k < t.text_extension_count; ++k) {
    if (t.text_extensions[k] == upper) return true;
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
