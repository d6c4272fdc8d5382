// The B-tree index: insertion with page splits, positioned reads in key
// order and removal of one entry.
#include "topology/btree.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "frame/messages.h"
#include "records/codec.h"
#include "records/record_file.h"

namespace cx {

namespace {

constexpr int kRootOffset = 395;
constexpr int kValuesOffset = 391;
constexpr int kCountOffset = 511;
constexpr int kHalf = kPageKeys / 2;

struct Entry {
  std::array<unsigned char, kKeySize> key;
  int32_t value;
};

// A page spread out: its kind and its entries in order.
struct Page {
  bool inner = false;
  std::vector<Entry> entries;
};

int compare(const unsigned char* a, const unsigned char* b) {
  return std::memcmp(a, b, kKeySize);
}

bool damaged(int handle, int32_t page) {
  informe_error("INDICE: pagina %ld danada en %s", static_cast<long>(page), nombre_abierto(handle));
  return false;
}

bool parse(int handle, int32_t number, const unsigned char* raw, Page* page) {
  const int count = static_cast<signed char>(raw[kCountOffset]);
  if (count < 0 || count > kPageKeys || raw[0] > 1) return damaged(handle, number);
  page->inner = raw[0] == 1;
  page->entries.resize(count);
  for (int i = 0; i < count; ++i) {
    std::memcpy(page->entries[i].key.data(), raw + 1 + kKeySize * i, kKeySize);
    page->entries[i].value = get_le32(raw + kValuesOffset + 4 * i);
    if (page->inner && page->entries[i].value <= 0) return damaged(handle, number);
  }
  return true;
}

// The same checks on a page read whole, for the read paths, which look at
// the bytes in place.
bool check_raw(int handle, int32_t number, const unsigned char* raw) {
  const int count = static_cast<signed char>(raw[kCountOffset]);
  if (count < 0 || count > kPageKeys || raw[0] > 1) return damaged(handle, number);
  if (raw[0] == 1) {
    if (count == 0) return damaged(handle, number);
    for (int i = 0; i < count; ++i)
      if (get_le32(raw + kValuesOffset + 4 * i) <= 0) return damaged(handle, number);
  }
  return true;
}

int raw_count(const unsigned char* raw) {
  return static_cast<signed char>(raw[kCountOffset]);
}
const unsigned char* raw_key(const unsigned char* raw, int i) {
  return raw + 1 + kKeySize * i;
}
int32_t raw_value(const unsigned char* raw, int i) {
  return get_le32(raw + kValuesOffset + 4 * i);
}

// The first position whose key is not below key (count when none).
int raw_lower_bound(const unsigned char* raw, const unsigned char* key) {
  int low = 0, high = raw_count(raw);
  while (low < high) {
    const int mid = (low + high) / 2;
    if (std::memcmp(raw_key(raw, mid), key, kKeySize) < 0)
      low = mid + 1;
    else
      high = mid;
  }
  return low;
}

void format(const Page& page, unsigned char* raw) {
  std::memset(raw, 0, kPageSize);
  raw[0] = page.inner ? 1 : 0;
  for (std::size_t i = 0; i < page.entries.size(); ++i) {
    std::memcpy(raw + 1 + kKeySize * i, page.entries[i].key.data(), kKeySize);
    put_le32(raw + kValuesOffset + 4 * i, page.entries[i].value);
  }
  raw[kCountOffset] = static_cast<unsigned char>(page.entries.size());
}

bool read_raw(int handle, int32_t number, unsigned char* raw) {
  return lea_registro(handle, raw, number, kPageSize) == 0;
}

bool read_page(int handle, int32_t number, Page* page) {
  unsigned char raw[kPageSize];
  return read_raw(handle, number, raw) && parse(handle, number, raw, page);
}

bool write_page(int handle, int32_t number, const Page& page) {
  unsigned char raw[kPageSize];
  format(page, raw);
  return escriba_registro(handle, raw, number, kPageSize) == 0;
}

bool read_root(int handle, int32_t* root) {
  unsigned char bytes[4];
  if (lea_bytes_en(handle, kRootOffset, bytes, 4) != 0) return false;
  *root = get_le32(bytes);
  return true;
}

bool write_root(int handle, int32_t root) {
  unsigned char bytes[4];
  put_le32(bytes, root);
  return esc_bytes(handle, kRootOffset, bytes, 4) == 0;
}

// Hands out a page and writes it at once, so that the next page handed out
// (which comes from the file's length) is a different one.
int32_t new_page(int handle, const Page& page) {
  const int32_t number = pida_registro(handle, kPageSize);
  if (number <= 0) {
    informe_error("INDICE: no hay paginas en %s", nombre_abierto(handle));
    return 0;
  }
  return write_page(handle, number, page) ? number : 0;
}

Entry make_entry(const unsigned char* key, int32_t value) {
  Entry e;
  std::memcpy(e.key.data(), key, kKeySize);
  e.value = value;
  return e;
}

struct Step {
  int32_t page;
  int child;
};

// The inner pages passed on the way down, at most kMaxDepth - 1.
struct Path {
  Step steps[kMaxDepth];
  int size = 0;
  bool empty() const { return size == 0; }
  const Step& back() const { return steps[size - 1]; }
  void pop_back() { --size; }
};

// Descends from the root towards key, remembering the path: in each inner
// page the first child whose bound is not below key, else the last. The
// leaf comes back as read. false on failure.
bool descend(int handle, int32_t root, const unsigned char* key, Path* path, unsigned char* leaf,
             int32_t* leaf_number, CursorIndice* keep = nullptr) {
  int32_t number = root;
  for (int level = 0;; ++level) {
    if (level >= kMaxDepth) return damaged(handle, number);
    if (!read_raw(handle, number, leaf) || !check_raw(handle, number, leaf)) return false;
    if (leaf[0] != 1) break;
    const int i = std::min(raw_lower_bound(leaf, key), raw_count(leaf) - 1);
    path->steps[path->size++] = {number, i};
    if (keep) {
      keep->parent_page = number;
      std::memcpy(keep->parent, leaf, kPageSize);
    }
    number = raw_value(leaf, i);
  }
  *leaf_number = number;
  return true;
}

// Inserts e at position pos of page (written back as number). When the
// page is full it splits: *split gets the new right page's number, and the
// page keeps the lower part.
bool insert_at(int handle, int32_t number, Page& page, int pos, const Entry& e, int32_t* split) {
  *split = 0;
  if (static_cast<int>(page.entries.size()) < kPageKeys) {
    page.entries.insert(page.entries.begin() + pos, e);
    return write_page(handle, number, page);
  }
  Page right;
  right.inner = page.inner;
  if (pos == kPageKeys) {
    // Beyond the last key: the new page starts with it alone, so that keys
    // arriving in order fill pages whole.
    right.entries.push_back(e);
  } else {
    page.entries.insert(page.entries.begin() + pos, e);
    const int keep = pos <= kHalf ? kHalf + 1 : kHalf;
    right.entries.assign(page.entries.begin() + keep, page.entries.end());
    page.entries.resize(keep);
  }
  *split = new_page(handle, right);
  return *split != 0 && write_page(handle, number, page);
}

}  // namespace

int indice_abra(const char* path, CursorIndice* cursor) {
  if (cursor) std::memset(cursor, 0, sizeof *cursor);
  int handle = abra_compartido(path);
  if (handle >= 0) return handle;
  int16_t unused;
  if (crear_archivo(&unused, path, kPageSize) != 0) return -1;
  return abra_compartido(path);
}

int16_t indice_inserte(int handle, const unsigned char* key, int32_t value) {
  if (!key) return -1;
  int32_t root = 0;
  if (!read_root(handle, &root)) return -1;
  if (root == 0) {
    root = new_page(handle, Page{});
    if (root == 0 || !write_root(handle, root)) return -1;
  }
  Path path;
  unsigned char raw[kPageSize];
  int32_t number = 0;
  Page page;
  if (!descend(handle, root, key, &path, raw, &number) || !parse(handle, number, raw, &page))
    return -1;

  int32_t split = 0;
  if (!insert_at(handle, number, page, raw_lower_bound(raw, key), make_entry(key, value), &split))
    return -1;
  // Up the path: each parent's bound for the child becomes the child's
  // greatest key, and a split child's new right page goes in right after it.
  Entry left_bound = page.entries.back();
  Page right_page;
  if (split && !read_page(handle, split, &right_page)) return -1;
  while (!path.empty()) {
    const Step step = path.back();
    path.pop_back();
    Page parent;
    if (!read_page(handle, step.page, &parent)) return -1;
    if (step.child >= static_cast<int>(parent.entries.size())) return damaged(handle, step.page);
    const Entry old_bound = parent.entries[step.child];
    parent.entries[step.child].key = left_bound.key;
    if (!split) {
      if (old_bound.key == left_bound.key) return 0;
      if (!write_page(handle, step.page, parent)) return -1;
    } else {
      const Entry right_bound = make_entry(right_page.entries.back().key.data(), split);
      if (!insert_at(handle, step.page, parent, step.child + 1, right_bound, &split)) return -1;
      if (split && !read_page(handle, split, &right_page)) return -1;
    }
    left_bound = parent.entries.back();
    left_bound.value = step.page;
  }
  if (!split) return 0;
  Page top;
  top.inner = true;
  top.entries.push_back(make_entry(left_bound.key.data(), root));
  top.entries.push_back(make_entry(right_page.entries.back().key.data(), split));
  const int32_t new_root = new_page(handle, top);
  return new_root != 0 && write_root(handle, new_root) ? 0 : -1;
}

namespace {

bool load_leaf(int handle, CursorIndice* c) {
  const int32_t number = c->page[c->depth - 1];
  if (!read_raw(handle, number, c->leaf) || !check_raw(handle, number, c->leaf)) return false;
  return c->leaf[0] == 0 || damaged(handle, number);
}

int leaf_count(const CursorIndice& c) {
  return static_cast<signed char>(c.leaf[kCountOffset]);
}

bool fail(CursorIndice* c) {
  c->valid = -1;
  return false;
}

// From the cursor's leaf position, moves on to the first entry at or after
// it, climbing and descending past exhausted (or emptied) pages.
bool settle(int handle, CursorIndice* c) {
  while (c->pos[c->depth - 1] >= leaf_count(*c)) {
    int level = c->depth - 2;
    unsigned char raw[kPageSize];
    for (; level >= 0; --level) {
      if (level == c->depth - 2 && c->parent_page == c->page[level]) {
        std::memcpy(raw, c->parent, kPageSize);
      } else if (!read_raw(handle, c->page[level], raw) ||
                 !check_raw(handle, c->page[level], raw)) {
        return fail(c);
      }
      if (c->pos[level] + 1 < raw_count(raw)) break;
    }
    if (level < 0) {
      c->valid = 0;
      return false;
    }
    ++c->pos[level];
    int32_t number = raw_value(raw, c->pos[level]);
    for (int down = level + 1; down < c->depth; ++down) {
      c->page[down] = number;
      c->pos[down] = 0;
      if (down == c->depth - 1) break;
      if (!read_raw(handle, number, raw) || !check_raw(handle, number, raw)) return fail(c);
      if (raw[0] != 1) {
        damaged(handle, number);
        return fail(c);
      }
      if (down == c->depth - 2) {
        c->parent_page = number;
        std::memcpy(c->parent, raw, kPageSize);
      }
      number = raw_value(raw, 0);
    }
    if (!load_leaf(handle, c)) return fail(c);
  }
  c->valid = 1;
  return true;
}

}  // namespace

bool indice_posicione(int handle, const unsigned char* key, CursorIndice* cursor) {
  if (!cursor) return false;
  std::memset(cursor, 0, sizeof *cursor);
  int32_t root = 0;
  if (!key || !read_root(handle, &root)) return fail(cursor);
  if (root == 0) return false;
  Path path;
  int32_t number = 0;
  if (!descend(handle, root, key, &path, cursor->leaf, &number, cursor)) return fail(cursor);
  cursor->depth = path.size + 1;
  for (int i = 0; i < path.size; ++i) {
    cursor->page[i] = path.steps[i].page;
    cursor->pos[i] = static_cast<int16_t>(path.steps[i].child);
  }
  cursor->page[cursor->depth - 1] = number;
  cursor->pos[cursor->depth - 1] = static_cast<int16_t>(raw_lower_bound(cursor->leaf, key));
  return settle(handle, cursor);
}

int32_t indice_busque(int handle, const unsigned char* key, CursorIndice* cursor) {
  if (!indice_posicione(handle, key, cursor)) return 0;
  unsigned char found[kKeySize];
  int32_t value = 0;
  indice_actual(*cursor, found, &value);
  return compare(found, key) == 0 ? value : 0;
}

bool indice_actual(const CursorIndice& cursor, unsigned char* key, int32_t* value) {
  if (cursor.valid != 1 || cursor.depth < 1 || cursor.depth > kMaxDepth) return false;
  const int i = cursor.pos[cursor.depth - 1];
  if (i < 0 || i >= leaf_count(cursor)) return false;
  if (key) std::memcpy(key, cursor.leaf + 1 + kKeySize * i, kKeySize);
  if (value) *value = get_le32(cursor.leaf + kValuesOffset + 4 * i);
  return true;
}

bool indice_siguiente(int handle, CursorIndice* cursor, unsigned char* key, int32_t* value) {
  if (!cursor || cursor->valid != 1 || cursor->depth < 1 || cursor->depth > kMaxDepth) return false;
  ++cursor->pos[cursor->depth - 1];
  return settle(handle, cursor) && indice_actual(*cursor, key, value);
}

bool indice_salte(int handle, CursorIndice* cursor, const unsigned char* key, unsigned char* found,
                  int32_t* value) {
  if (!cursor || !key) return false;
  const int count = cursor->valid == 1 ? leaf_count(*cursor) : 0;
  if (count > 0 && std::memcmp(raw_key(cursor->leaf, count - 1), key, kKeySize) >= 0) {
    const int at = raw_lower_bound(cursor->leaf, key);
    int16_t& pos = cursor->pos[cursor->depth - 1];
    pos = static_cast<int16_t>(std::max<int>(pos, at));
    return indice_actual(*cursor, found, value);
  }
  // Within the kept parent, one leaf read finds it.
  const int up = cursor->depth - 2;
  if (cursor->valid == 1 && up >= 0 && cursor->parent_page == cursor->page[up]) {
    const int children = raw_count(cursor->parent);
    const int child = std::max<int>(raw_lower_bound(cursor->parent, key), cursor->pos[up]);
    if (child < children) {
      cursor->pos[up] = static_cast<int16_t>(child);
      cursor->page[up + 1] = raw_value(cursor->parent, child);
      if (!load_leaf(handle, cursor)) return fail(cursor);
      cursor->pos[up + 1] = static_cast<int16_t>(raw_lower_bound(cursor->leaf, key));
      return settle(handle, cursor) && indice_actual(*cursor, found, value);
    }
  }
  return indice_posicione(handle, key, cursor) && indice_actual(*cursor, found, value);
}

int16_t indice_borre(int handle, const unsigned char* key, int32_t value) {
  CursorIndice cursor;
  if (!key) return -1;
  unsigned char found[kKeySize];
  int32_t v = 0;
  bool more = indice_posicione(handle, key, &cursor) && indice_actual(cursor, found, &v);
  while (more && compare(found, key) == 0 && v != value)
    more = indice_siguiente(handle, &cursor, found, &v);
  if (cursor.valid < 0) return -1;
  if (!more || compare(found, key) != 0) return 1;
  // Keys above the removed one shift down and the freed slot is cleared;
  // the parents' bounds stay valid upper bounds, so they are left alone.
  Page leaf;
  const int32_t number = cursor.page[cursor.depth - 1];
  if (!parse(handle, number, cursor.leaf, &leaf)) return -1;
  leaf.entries.erase(leaf.entries.begin() + cursor.pos[cursor.depth - 1]);
  return write_page(handle, number, leaf) ? 0 : -1;
}

}  // namespace cx
