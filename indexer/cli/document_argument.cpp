// DocID arguments.
#include "cli/document_argument.h"

#include <charconv>
#include <ostream>

namespace trawlix::cli {

std::optional<int64_t> whole_number(const std::string& text) {
  int64_t value = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  auto [stop, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || stop != end || begin == end) return std::nullopt;
  return value;
}

bool read_doc_id(Context& ctx, const std::string& what, const std::string& text, int32_t* id) {
  std::optional<int64_t> value = whole_number(text);
  if (!value || *value < 0 || *value > INT32_MAX) {
    ctx.err << "trawlix-cli: " << what << " must be a DocID (a number from 0), not '" << text
            << "'\n";
    return false;
  }
  *id = static_cast<int32_t>(*value);
  return true;
}

std::optional<size_t> select_document(Context& ctx, DocumentEditor& editor,
                                      const std::string& text) {
  int32_t doc_id = 0;
  if (!read_doc_id(ctx, "DOCID", text, &doc_id) || !editor.load_form()) return std::nullopt;
  std::optional<size_t> row = editor.row_of(doc_id);
  if (!row) {
    ctx.err << "trawlix-cli: there is no document " << doc_id << "\n";
    return std::nullopt;
  }
  editor.select(*row);
  return row;
}

}  // namespace trawlix::cli
