// The scanner's fixed tables: word characters and their folded forms, the
// known tags, the entities it replaces, and the document types by
// extension. All are constants: nothing fills them at start-up.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace trawlix {

struct ScannerTables {
  // 125 characters; position k (from 1) of folded_chars is the folded
  // form of position k of word_chars. Windows-1252 bytes.
  std::string_view word_chars;
  std::string_view folded_chars;
  std::span<const std::string_view> tag_names;  // 91, ascending
  std::span<const std::string_view> entity_names;
  std::string_view entity_chars;  // entity k is replaced by entity_chars[k]
  std::span<const std::string_view> text_extensions;
  std::span<const std::string_view> refused_extensions;
};

const ScannerTables& scanner_tables();

// Position (from 1) of `c` in word_chars, 0 when it is not a word character.
int word_char_position(char c);

// True when the tag token (upper case, with its "<") names a known element.
bool is_known_tag(std::string_view token);

// True when a document with this extension is fetched and indexed.
bool accept_extension(std::string_view extension);

// The line with every entity of the entity table replaced by its character.
// The names are ASCII from "&" to ";" and the characters are not, so no
// replacement makes a new entity: one pass gives what replacing each entity
// in table order, every search from the line's start, would give.
std::string replace_entities(std::string line);

}  // namespace trawlix
