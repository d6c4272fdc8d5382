// verify: every entry of every index names a live record whose key it
// holds, and every live record is in its indexes once; the links of each
// network agree (verify_links). The B-trees are
// read page by page from their roots (512-byte pages, 30 keys of 13 bytes
// and 30 values each); the spatial keys are decoded by the engine.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "commands.h"
#include "verify_links.h"

namespace cartex {

namespace {

using Key = std::array<uint8_t, 13>;
constexpr int kPage = 512;

// The entries of a B-tree file, or false when a page cannot be read.
bool index_entries(const std::string& file, std::vector<std::pair<Key, int32_t>>* out) {
  const int fd = open(file.c_str(), O_RDONLY);
  if (fd < 0) return false;
  uint8_t page[kPage];
  auto read_page = [&](int32_t n) { return pread(fd, page, kPage, off_t(n) * kPage) == kPage; };
  bool ok = read_page(0);
  int32_t root = 0;
  if (ok) std::memcpy(&root, page + 395, 4);
  std::vector<int32_t> pending;
  if (root) pending.push_back(root);
  for (int guard = 0; ok && !pending.empty() && guard < 10000000; ++guard) {
    const int32_t n = pending.back();
    pending.pop_back();
    if (!read_page(n) || page[511] > 30) {
      ok = false;
      break;
    }
    for (int i = page[511] - 1; i >= 0; --i) {
      int32_t value = 0;
      std::memcpy(&value, page + 391 + 4 * i, 4);
      if (page[0] == 1) {
        pending.push_back(value);
      } else {
        Key k;
        std::memcpy(k.data(), page + 1 + 13 * i, 13);
        out->push_back({k, value});
      }
    }
  }
  close(fd);
  return ok;
}

struct Checker {
  const Engine& engine;
  int faults = 0;
  int checked = 0;

  void fault(const char* format, const std::string& a, long b) {
    ++faults;
    std::printf("fault: ");
    std::printf(format, a.c_str(), b);
    std::printf("\n");
  }
  void fault_text(const std::string& text) {
    ++faults;
    std::printf("fault: %s\n", text.c_str());
  }

  // A spatial index against the anchors of the live records.
  void spatial(const std::string& file, const std::map<int32_t, Point>& live) {
    std::vector<std::pair<Key, int32_t>> entries;
    if (!index_entries(file, &entries)) return fault("%s cannot be read (%ld)", file, 0);
    std::map<int32_t, int> seen;
    for (const auto& [key, record] : entries) {
      ++checked;
      const auto it = live.find(record);
      if (it == live.end()) {
        fault("%s names record %ld, which is not there", file, record);
        continue;
      }
      double x = 0, y = 0;
      engine.xycalcxy(0, &x, &y, key.data(), nullptr);
      if (std::fabs(x - it->second.x) > 0.11 || std::fabs(y - it->second.y) > 0.11)
        fault("%s keeps record %ld at another point", file, record);
      ++seen[record];
    }
    for (const auto& [record, at] : live)
      if (seen[record] != 1)
        fault(("%s holds record %ld " + std::to_string(seen[record]) + " times").c_str(), file,
              record);
  }

  // A code index against the codes of the live records (13-byte keys).
  void codes(const std::string& file, const std::map<int32_t, Key>& live) {
    std::vector<std::pair<Key, int32_t>> entries;
    if (!index_entries(file, &entries)) return fault("%s cannot be read (%ld)", file, 0);
    std::map<int32_t, int> seen;
    for (const auto& [key, record] : entries) {
      ++checked;
      const auto it = live.find(record);
      if (it == live.end())
        fault("%s names record %ld, which is not there", file, record);
      else if (it->second != key)
        fault("%s keeps record %ld under another code", file, record);
      ++seen[record];
    }
    for (const auto& [record, code] : live)
      if (seen[record] != 1)
        fault(("%s holds record %ld " + std::to_string(seen[record]) + " times").c_str(), file,
              record);
  }
};

Key key_of(const char* code) {
  Key k{};
  std::memcpy(k.data(), code, 13);
  std::size_t n = 13;
  while (n > 0 && (k[n - 1] == ' ' || k[n - 1] == 0)) k[--n] = 0;
  return k;
}

}  // namespace

int cmd_verify(const Engine& engine, const Args& args) {
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::fputs(
        "usage: cartex verify DIR\n\nChecks every index of the base DIR against its "
        "records: CUADT0.INX and\nZONAST3.INX against the T0 objects and T1 areas, and "
        "each network's xyt2.inx,\nxyt3.inx and nodo.inx against its nodes and area "
        "objects, and its node lists\nand description chains against its arcs and areas. "
        "Prints each fault; exits 1\nwhen there is one.\n",
        stdout);
    return 0;
  }
  if (args.size() != 1) return usage_error("verify", "one base folder expected");
  Session session(engine, args[0]);
  if (!session.ok()) {
    std::fprintf(stderr, "cartex verify: %s\n", session.error().c_str());
    return 3;
  }
  Checker check{engine};
  {
    const int fd = open("OBJETOS.DAT", O_RDONLY), areas_fd = open("AREAS.DAT", O_RDONLY);
    std::map<int32_t, Point> anchors;
    std::map<int32_t, Key> area_codes;
    for (int32_t n = 1; fd >= 0 && n <= record_count("OBJETOS.DAT", 31); ++n) {
      cx_object o{};
      if (!given_back(engine, static_cast<int16_t>(fd), n, 31) &&
          engine.sleer_obj(static_cast<int16_t>(fd), &o, n, 0) == 0)
        anchors[n] = {+o.x, +o.y};
    }
    for (int32_t n = 1; areas_fd >= 0 && n <= record_count("AREAS.DAT", 29); ++n) {
      cx_area a{};
      if (!given_back(engine, static_cast<int16_t>(areas_fd), n, 29) &&
          engine.sleer_are(static_cast<int16_t>(areas_fd), &a, n, 0) == 0)
        area_codes[n] = key_of(a.code);
    }
    if (fd >= 0) close(fd);
    if (areas_fd >= 0) close(areas_fd);
    check.spatial("CUADT0.INX", anchors);
    check.codes("ZONAST3.INX", area_codes);
  }
  std::map<std::string, int> networks;
  for (const Layer& l : layers(engine)) {
    if (l.record.kind < 2) continue;
    std::string prefix(l.record.network_prefix, strnlen(l.record.network_prefix, 5));
    for (char& c : prefix) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!networks.try_emplace(prefix.substr(0, 4), l.number).second) continue;
    engine.set_consts(24, static_cast<int16_t>(l.number));
    int16_t red[CX_RED_HANDLES] = {};
    int16_t count = 0;
    engine.get_red(red, engine.get_red_act(0), &count);
    std::map<int32_t, Point> nodes, labels;
    std::map<int32_t, Key> codes;
    for (int32_t n = 1; n <= record_count(prefix + "nodo.dat", 46); ++n) {
      cx_node node{};
      if (!given_back(engine, red[0], n, 46) && engine.sleer_nod(red[0], &node, n, 0) == 0) {
        nodes[n] = {+node.x, +node.y};
        if (l.record.kind == 2) {
          char code[13] = {};
          code[0] = static_cast<char>(node.code_prefix);
          std::memcpy(code + 1, node.code, 10);
          codes[n] = key_of(code);
        }
      }
    }
    for (int32_t n = 1; l.record.kind == 3 && n <= record_count(prefix + "objs.dat", 48); ++n) {
      cx_area_object object{};
      if (!given_back(engine, red[6], n, 48) && engine.sleer_top(red[6], &object, n, 0) == 0) {
        labels[n] = {+object.x, +object.y};
        codes[n] = key_of(object.code);
      }
    }
    check.spatial(prefix + "xyt2.inx", nodes);
    if (l.record.kind == 3) check.spatial(prefix + "xyt3.inx", labels);
    check.codes(prefix + "nodo.inx", codes);
    check.checked += check_network_links(engine, red, prefix, l.record.kind == 3,
                                         [&](const std::string& text) { check.fault_text(text); });
  }
  engine.set_consts(24, 0);
  std::printf("%d index entries and links checked, %d faults\n", check.checked, check.faults);
  return check.faults ? 1 : 0;
}

}  // namespace cartex
