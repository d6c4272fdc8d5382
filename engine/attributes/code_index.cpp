// A small B-tree: inserts split a full page in two halves, walking back up
// the path from the root; searches descend to the first key not below the
// one sought.
#include "attributes/code_index.h"

#include <cstring>
#include <vector>

#include "frame/messages.h"
#include "platform/files.h"
#include "records/codec.h"
#include "records/record_file.h"

namespace cx::atr {

namespace {

constexpr int kPage = 512;
constexpr int kKeys = 30;
constexpr int kRootAt = 395;
constexpr int kValuesAt = 391;
constexpr int kMaxLevels = 12;

struct Pagina {
  unsigned char b[kPage] = {};
  bool inner() const { return b[0] == 1; }
  int count() const { return static_cast<signed char>(b[511]); }
  void set_count(int n) { b[511] = static_cast<unsigned char>(n); }
  unsigned char* key(int i) { return b + 1 + kClave * i; }
  const unsigned char* key(int i) const { return b + 1 + kClave * i; }
  int32_t value(int i) const { return get_le32(b + kValuesAt + 4 * i); }
  void set_value(int i, int32_t v) { put_le32(b + kValuesAt + 4 * i, v); }
  void put(int i, const unsigned char* k, int32_t v) {
    std::memcpy(key(i), k, kClave);
    set_value(i, v);
  }
  // Inserts at position i, shifting the entries from there by one.
  void insert(int i, const unsigned char* k, int32_t v) {
    for (int j = count(); j > i; --j) put(j, key(j - 1), value(j - 1));
    put(i, k, v);
    set_count(count() + 1);
  }
};

int compare(const unsigned char* a, const unsigned char* b) {
  return std::memcmp(a, b, kClave);
}

// The first entry with a key not below k; count when there is none.
int first_not_below(const Pagina& p, const unsigned char* k) {
  int i = 0;
  while (i < p.count() && compare(p.key(i), k) < 0) ++i;
  return i;
}

bool read_page(int handle, int32_t n, Pagina& p) {
  if (n <= 0) return false;
  return lea_bytes_en(handle, int64_t(n) * kPage, p.b, kPage) == 0 && p.count() >= 0 &&
         p.count() <= kKeys;
}

bool write_page(int handle, int32_t n, const Pagina& p) {
  return esc_bytes(handle, int64_t(n) * kPage, p.b, kPage) == 0;
}

int32_t root(int handle) {
  unsigned char b[4];
  return lea_bytes_en(handle, kRootAt, b, 4) == 0 ? get_le32(b) : -1;
}

bool set_root(int handle, int32_t n) {
  unsigned char b[4];
  put_le32(b, n);
  return esc_bytes(handle, kRootAt, b, 4) == 0;
}

int32_t new_page(int handle) {
  const int32_t n = pida_registro(handle, kPage);
  if (n <= 0) return 0;
  const Pagina empty;
  return write_page(handle, n, empty) ? n : 0;
}

int16_t damaged(int32_t page) {
  informe_error("INDICE: pagina %ld danada", static_cast<long>(page));
  return -1;
}

}  // namespace

void clave_de_texto(const char* text, int limit, unsigned char* key) {
  std::memset(key, 0, kClave);
  if (limit > kClave) limit = kClave;
  int n = 0;
  while (text && n < limit && text[n]) ++n;
  while (n > 0 && text[n - 1] == ' ') --n;
  if (n) std::memcpy(key, text, n);
}

int cree_indice(const char* path) {
  const std::string real = resolve_path(path);
  files().remove(real.c_str());
  int16_t handle = -1;
  if (crear_archivo(&handle, path, kPage) != 0) {
    avise_error("Error creando indice..");
    return -1;
  }
  const int h = abra_compartido(path);
  if (h < 0) avise_error("Error creando indice..");
  return h;
}

int abra_indice(const char* path) {
  const std::string real = resolve_path(path);
  const int h = files().open_shared(real.c_str());
  if (h >= 0) {
    files().close(h);
    return abra_compartido(path);
  }
  return cree_indice(path);
}

namespace {

// Puts (k, v) at position i of page p; a full page is split in two halves
// first, the upper one going to a new page (*split).
bool inserte_en(int handle, Pagina& p, int i, const unsigned char* k, int32_t v, int32_t* split) {
  *split = 0;
  if (p.count() < kKeys) {
    p.insert(i, k, v);
    return true;
  }
  Pagina right;
  right.b[0] = p.b[0];
  const int half = kKeys / 2;
  for (int j = half; j < kKeys; ++j) right.put(j - half, p.key(j), p.value(j));
  std::memset(p.key(half), 0, kClave * half);
  std::memset(p.b + kValuesAt + 4 * half, 0, 4 * half);
  p.set_count(half);
  right.set_count(half);
  if (i <= half)
    p.insert(i, k, v);
  else
    right.insert(i - half, k, v);
  *split = new_page(handle);
  return *split && write_page(handle, *split, right);
}

bool inserte_desde(int handle, int32_t n, const unsigned char* k, int32_t v, int depth,
                   int32_t* split) {
  Pagina p;
  if (depth == kMaxLevels || !read_page(handle, n, p) || (p.inner() && p.count() == 0)) {
    damaged(n);
    return false;
  }
  int i = first_not_below(p, k);
  if (p.inner()) {
    if (i == p.count()) i = p.count() - 1;
    const int32_t child_page = p.value(i);
    int32_t child_split = 0;
    Pagina child;
    if (!inserte_desde(handle, child_page, k, v, depth + 1, &child_split) ||
        !read_page(handle, child_page, child))
      return false;
    std::memcpy(p.key(i), child.key(child.count() - 1), kClave);
    *split = 0;
    if (child_split) {
      Pagina right;
      if (!read_page(handle, child_split, right) ||
          !inserte_en(handle, p, i + 1, right.key(right.count() - 1), child_split, split))
        return false;
    }
  } else if (!inserte_en(handle, p, i, k, v, split)) {
    return false;
  }
  return write_page(handle, n, p);
}

}  // namespace

int16_t inserte(int handle, const unsigned char* k, int32_t v) {
  const int32_t r = root(handle);
  if (r < 0) return -1;
  if (r == 0) {
    Pagina leaf;
    leaf.insert(0, k, v);
    const int32_t n = new_page(handle);
    return n && write_page(handle, n, leaf) && set_root(handle, n) ? 0 : -1;
  }
  int32_t split = 0;
  if (!inserte_desde(handle, r, k, v, 0, &split)) return -1;
  if (!split) return 0;
  Pagina left, right, top;
  if (!read_page(handle, r, left) || !read_page(handle, split, right)) return -1;
  top.b[0] = 1;
  top.put(0, left.key(left.count() - 1), r);
  top.put(1, right.key(right.count() - 1), split);
  top.set_count(2);
  const int32_t n = new_page(handle);
  return n && write_page(handle, n, top) && set_root(handle, n) ? 0 : -1;
}

int32_t busque(int handle, const unsigned char* k) {
  int32_t n = root(handle);
  for (int level = 0; n > 0 && level < kMaxLevels; ++level) {
    Pagina p;
    if (!read_page(handle, n, p)) return 0;
    int i = first_not_below(p, k);
    if (!p.inner()) return i < p.count() && compare(p.key(i), k) == 0 ? p.value(i) : 0;
    if (i == p.count()) return 0;  // above every key
    n = p.value(i);
  }
  return 0;
}

}  // namespace cx::atr
