// The map engine's byte-order writers, `paselong` and `paseint`, which the
// web index writer uses for every integer of its binary files. The engine
// library is loaded by name when they are first needed, never at start-up,
// so that the indexer runs without it until a web index is generated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trawlix {

// The library's soname: the name installed systems and the build tree both
// have, without the development link "libcartex32.so".
inline constexpr const char kEngineLibrary[] = "libcartex32.so.0";
// When set, the only file the engine library is loaded from.
inline constexpr const char kEngineLibraryVariable[] = "TRAWLIX_CARTEX32";

// Where the engine library is looked for, in order: the override variable
// alone when it is set; otherwise beside the executable, in the lib/ folder
// next to the executable's folder, then by plain name through the system's
// library path.
std::vector<std::string> engine_library_candidates();

class EngineByteOrder {
 public:
  // Loads from the first of `candidates` that opens.
  explicit EngineByteOrder(std::vector<std::string> candidates);
  EngineByteOrder(const EngineByteOrder&) = delete;
  EngineByteOrder& operator=(const EngineByteOrder&) = delete;
  ~EngineByteOrder();

  // Loads the library and binds both functions unless that was done
  // already. On failure returns false and sets `error` to a message that
  // names the library and says why; a later call tries again.
  bool bind(std::string* error);

  // Each writes `value` most significant byte first into `out` (4 and 2
  // bytes). Requires: bind() succeeded.
  void paselong(int32_t value, uint8_t* out) const;
  void paseint(int16_t value, uint8_t* out) const;

 private:
  using LongWriter = void (*)(const int32_t*, uint8_t*);
  using IntWriter = void (*)(const int16_t*, uint8_t*);

  std::vector<std::string> candidates_;
  void* handle_ = nullptr;
  LongWriter paselong_ = nullptr;
  IntWriter paseint_ = nullptr;
};

// The program's one binding of the engine, over engine_library_candidates().
EngineByteOrder& engine_byte_order();

}  // namespace trawlix
