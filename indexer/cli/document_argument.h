// Reading the DocIDs that the edit and delete commands take.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "search/document_editor.h"

namespace trawlix::cli {

// The value of a text that is a whole decimal number and nothing else.
std::optional<int64_t> whole_number(const std::string& text);

// Reads a DocID (0 included) named `what` in messages; reports and returns
// false when `text` is not one.
bool read_doc_id(Context& ctx, const std::string& what, const std::string& text, int32_t* id);

// Loads the editor and selects the document whose DocID `text` gives;
// reports and returns none when the table has no such document.
std::optional<size_t> select_document(Context& ctx, DocumentEditor& editor,
                                      const std::string& text);

}  // namespace trawlix::cli
