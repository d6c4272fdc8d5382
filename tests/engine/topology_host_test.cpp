// A host writing geometry into a new base through the exports bound by
// name, reading it back, querying it and redrawing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "support/engine_library.h"
#include "support/host_files.h"
#include "support/kept_messages.h"
#include "support/temp_base.h"

namespace {

using cx::testing::close_host_file;
using cx::testing::EngineLibrary;
using cx::testing::keep_message;
using cx::testing::open_host_file;
using cx::testing::TempBase;
using Bytes = std::vector<unsigned char>;

// A file of the base opened by the host itself, as hosts read records.
class HostFile {
 public:
  explicit HostFile(const char* path)
      : handle_(static_cast<int16_t>(open_host_file(path, false))) {}
  ~HostFile() { close_host_file(handle_); }
  HostFile(const HostFile&) = delete;
  HostFile& operator=(const HostFile&) = delete;
  operator int16_t() const { return handle_; }

 private:
  int16_t handle_;
};

// Non-white pixels of a device.
int ink(EngineLibrary& lib, int32_t hdc, int width, int height) {
  std::vector<uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
  EXPECT_EQ(CX_BIND(lib, copiar_pixeles)(hdc, pixels.data()), 0);
  int n = 0;
  for (std::size_t i = 0; i < pixels.size(); i += 4) n += pixels[i] != 255 || pixels[i + 1] != 255;
  return n;
}

template <typename Record>
void append_record(const std::string& file, const Record& record) {
  ASSERT_TRUE(TempBase::append(file, record)) << file;
}

cx_layer layer(const char* name, int kind, const char* prefix) {
  cx_layer l{};
  std::strcpy(l.name, name);
  l.kind = static_cast<uint8_t>(kind);
  l.code_prefix[0] = 4;
  l.code_prefix[1] = 2;
  // The prefix may fill its field whole, with no NUL after it.
  std::memcpy(l.network_prefix, prefix, std::min(std::strlen(prefix), sizeof l.network_prefix));
  return l;
}

cx_kind kind(const char* name, int geometry, int layer_number, int hatch = 0) {
  cx_kind k{};
  std::strcpy(k.name, name);
  k.colour = 15;
  k.geometry = static_cast<uint8_t>(geometry);
  k.line_type = 1;
  k.layer = static_cast<uint8_t>(layer_number);
  k.hatch = static_cast<uint8_t>(hatch);
  k.line_width = 1;
  return k;
}

// The base of every case: crear_BG's, with a second layer on the "topo"
// network (kind 2, prefix in another case), a layer of T0 objects, and
// kinds for lines (3), texts (4) and areas (5).
class TopologyHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.loaded());
    CX_BIND(lib, cx_set_message_callback)(keep_message, &messages);
    ASSERT_EQ(CX_BIND(lib, crear_BG)(0), 0);
    append_record("TABCAP.DAT", layer("vias", 2, "TOPOg"));
    append_record("TABCAP.DAT", layer("lineas", 0, ""));
    append_record("TABOBJ.DAT", kind("Linea", 0, 3));
    append_record("TABOBJ.DAT", kind("Texto", 1, 3));
    append_record("TABOBJ.DAT", kind("Barrio", 2, 1, 1));
    ASSERT_EQ(CX_BIND(lib, inigks)(0), 0);
    ASSERT_EQ(CX_BIND(lib, inifil)(0), 0);
  }
  void TearDown() override {
    CX_BIND(lib, end_cons)(0);
    CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr);
  }

  // The records of a spatial query, in the order delivered.
  std::vector<int32_t> query(int16_t index, double x1, double y1, double x2, double y2) {
    std::vector<unsigned char> cursor(CX_XY_CURSOR_SIZE + 1);
    void* state = cursor.data() + 1;  // no particular alignment
    EXPECT_EQ(CX_BIND(lib, xyinicie)(index, state, 2500, x1, y1, x2, y2), 0);
    std::vector<int32_t> out;
    for (int32_t record = 0;;) {
      unsigned char key[13];
      EXPECT_EQ(CX_BIND(lib, xynext)(index, state, 2500, key, &record), 0);
      if (record == 0) break;
      out.push_back(record);
    }
    return out;
  }

  TempBase base;
  EngineLibrary lib;
  std::vector<std::string> messages;
};

TEST_F(TopologyHost, NewBaseIsRefusedOverAnExistingOneAndLayersShareTheirNetwork) {
  const Bytes objects = TempBase::bytes("TABCAP.DAT");
  EXPECT_EQ(CX_BIND(lib, crear_BG)(0), -1);
  EXPECT_EQ(TempBase::bytes("TABCAP.DAT"), objects);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "crear_BG: YA EXISTE UNA BASE EN ESTE DIRECTORIO (OBJETOS.DAT)");
  EXPECT_EQ(TempBase::size("TABICO.DAT"), 531u);  // the record the icon reader reads

  int16_t handles[CX_RED_HANDLES] = {}, count = 0;
  CX_BIND(lib, get_red)(handles, 1, &count);
  EXPECT_EQ(count, 1);  // "topo" and "TOPOg" are one network
  EXPECT_EQ(handles[9], 3);
  EXPECT_TRUE(TempBase::exists("TOPOxyt3.inx"));
  CX_BIND(lib, get_red)(handles, 2, &count);
  EXPECT_EQ(messages.back(), "get_red: RED 2 NO EXISTE (hay 1 redes)");
}

TEST_F(TopologyHost, NodesAndArcsRoundTripAndAreFoundInSpace) {
  EXPECT_EQ(CX_BIND(lib, set_consts)(24, 1), 1);
  EXPECT_EQ(CX_BIND(lib, get_red_act)(0), 1);
  int16_t red[CX_RED_HANDLES], count;
  CX_BIND(lib, get_red)(red, 1, &count);

  cx_node code{};
  std::memcpy(code.code, "N-00000001", 10);
  cx_object at{};
  at.kind = 2;
  int32_t nodes[3];
  const double px[] = {100.5, 7600, 7600}, py[] = {200.25, 300, -40};
  for (int i = 0; i < 3; ++i) {
    at.x = px[i];
    at.y = py[i];
    nodes[i] = CX_BIND(lib, grabe_nodo)(&code, &at, 0, 0, 0, red);
    ASSERT_EQ(nodes[i], i + 1);
  }
  cx_arc ends{};
  ends.from_node = nodes[0];
  ends.to_node = nodes[1];
  ends.to_flag = 7;
  cx_object line{};
  line.kind = 1;
  const double straight_x[] = {100.5, 7600}, straight_y[] = {200.25, 300};
  const int32_t straight = CX_BIND(lib, grabe_arco)(&ends, &line, straight_x, straight_y, 0, red);
  line.count = 2;
  ends.from_node = nodes[1];
  ends.to_node = nodes[2];
  const double bent_x[] = {7600, 9000, 12000, 7600}, bent_y[] = {300, 5, 900, 0};
  const int32_t bent = CX_BIND(lib, grabe_arco)(&ends, &line, bent_x, bent_y, 0, red);
  ASSERT_EQ(straight, 1);
  ASSERT_EQ(bent, 2);

  cx_arc a{};
  ASSERT_EQ(CX_BIND(lib, sleer_arc)(red[1], &a, straight, 0), 0);
  EXPECT_EQ(a.block, 0);
  EXPECT_EQ(a.count, 0);
  EXPECT_EQ(a.to_flag, 7);
  EXPECT_EQ(static_cast<double>(a.xmin), 100.5);
  EXPECT_EQ(a.width, 2);  // 7499.5 wide: two whole cells
  ASSERT_EQ(CX_BIND(lib, sleer_arc)(red[1], &a, bent, 0), 0);
  EXPECT_EQ(static_cast<double>(a.ymin), 0.0);
  EXPECT_EQ(a.width, 1);
  double ix[2], iy[2];
  ASSERT_EQ(CX_BIND(lib, lea_coord)(red[5], a.block, ix, iy, 2), 0);
  EXPECT_TRUE(ix[0] == 9000 && ix[1] == 12000 && iy[0] == 5 && iy[1] == 900);

  // The middle node lists both arcs, the newest first.
  cx_node n{};
  ASSERT_EQ(CX_BIND(lib, sleer_nod)(red[0], &n, nodes[1], 0), 0);
  EXPECT_EQ(std::memcmp(n.code, "N-00000001", 10), 0);
  EXPECT_EQ(n.state, 1);  // the layer of the node kind
  std::vector<int32_t> listed;
  for (int32_t entry = n.first_list; entry != 0 && listed.size() < 5;) {
    int32_t e[4];
    ASSERT_EQ(CX_BIND(lib, sleer)(red[4], e, entry, 16), 0);
    listed.push_back(e[0]);
    entry = e[1];
  }
  EXPECT_EQ(listed, (std::vector<int32_t>{bent, straight}));

  EXPECT_EQ(query(red[2], 0, 0, 8000, 8000), (std::vector<int32_t>{1, 3, 2}));
  EXPECT_EQ(query(red[2], 7000, -100, 8000, 100), (std::vector<int32_t>{3}));  // (7600, -40) as y 0

  // An arc to a node that is not there, or with too many points, is refused
  // before anything is written.
  const auto arcs = TempBase::size("TOPOarco.dat");
  ends.to_node = 99;
  EXPECT_EQ(CX_BIND(lib, grabe_arco)(&ends, &line, bent_x, bent_y, 0, red), 0);
  EXPECT_EQ(messages.back(), "grabe_arco: NODO 99 NO EXISTE");
  ends.to_node = nodes[0];
  line.count = 301;
  std::vector<double> many(303, 50.0);
  EXPECT_EQ(CX_BIND(lib, grabe_arco)(&ends, &line, many.data(), many.data(), 0, red), 0);
  EXPECT_EQ(messages.back(), "grabe_arco: 301 UNIDADES NO CABEN EN UN BLOQUE (maximo 300)");
  EXPECT_EQ(TempBase::size("TOPOarco.dat"), arcs);
}

TEST_F(TopologyHost, ObjectsTextsAndAreasRoundTripAndRefusalsLeaveNoEntry) {
  ASSERT_EQ(CX_BIND(lib, abra_t0)(0), 1);
  cx_object polyline{};
  polyline.kind = 3;
  polyline.x = 2501.25;
  polyline.count = 3;
  const double x[] = {2501.25, 2600, 2700}, y[] = {0, 50, 10};
  const int32_t first = CX_BIND(lib, grabe_t0)(&polyline, x, y, nullptr);
  cx_object label{};
  label.kind = 4;
  label.x = 9000;
  label.y = 9000;
  label.rotation = 450;
  const int32_t text = CX_BIND(lib, grabe_t0)(&label, nullptr, nullptr, "Rio Claro");
  ASSERT_EQ(first, 1);
  ASSERT_EQ(text, 2);

  // Refused: a kind outside the table, a point list beyond one block.
  cx_object wrong = polyline;
  wrong.kind = 77;
  EXPECT_EQ(CX_BIND(lib, grabe_t0)(&wrong, x, y, nullptr), 0);
  EXPECT_EQ(messages.back(), "grabe_t0: TIPO DE OBJETO 77 NO EXISTE (hay 5 tipos)");
  wrong = polyline;
  wrong.count = 301;
  std::vector<double> many(301, 1.0);
  EXPECT_EQ(CX_BIND(lib, grabe_t0)(&wrong, many.data(), many.data(), nullptr), 0);

  CX_BIND(lib, cierre_t0)(0);
  const HostFile objects("OBJETOS.DAT"), coorden("COORDEN.DAT");
  cx_object back{};
  ASSERT_EQ(CX_BIND(lib, sleer_obj)(objects, &back, text, 0), 0);
  EXPECT_EQ(back.count, 10);
  char stored[16] = {};
  ASSERT_EQ(CX_BIND(lib, lea_bytes)(coorden, back.block, stored, 10), 0);
  EXPECT_STREQ(stored, "Rio Claro");
  ASSERT_EQ(CX_BIND(lib, sleer_obj)(objects, &back, first, 0), 0);
  double bx[3], by[3];
  ASSERT_EQ(CX_BIND(lib, lea_coord)(coorden, back.block, bx, by, 3), 0);
  EXPECT_TRUE(std::equal(bx, bx + 3, x) && std::equal(by, by + 3, y));
  EXPECT_EQ(TempBase::size("OBJETOS.DAT"), 3u * 31);

  // A T1 area with its outline.
  ASSERT_EQ(CX_BIND(lib, abra_t0)(0), 1);
  unsigned char area[29] = {};
  std::memcpy(area, "xxZONA-NORTE", 12);
  cx_object outline = polyline;
  const int32_t t1 = CX_BIND(lib, grabe_t1)(area, &outline, x, y, nullptr);
  ASSERT_EQ(t1, 1);
  EXPECT_EQ(outline.area, 1);
  EXPECT_GT(outline.block, 0);
  cx_area a{};
  CX_BIND(lib, cierre_t0)(0);
  const HostFile areas("AREAS.DAT"), index("CUADT0.INX");
  ASSERT_EQ(CX_BIND(lib, sleer_are)(areas, &a, t1, 0), 0);
  EXPECT_EQ(std::string(a.code, 12), "00ZONA-NORTE");  // no current layer: "00"
  EXPECT_EQ(static_cast<int32_t>(a.object), 3);
  // The T0 index holds the three objects that were written, nothing else;
  // the polyline and the outline share a key and come first.
  std::vector<int32_t> found = query(index, 0, 0, 10000, 10000);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[2], 2);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(TopologyHost, AreaObjectsTakeTheirCodeAndLabelPoint) {
  EXPECT_EQ(CX_BIND(lib, set_consts)(24, 1), 1);
  int16_t red[CX_RED_HANDLES], count;
  CX_BIND(lib, get_red)(red, 1, &count);
  cx_object label{};
  label.kind = 5;
  label.x = 3000;
  label.y = 4000;
  const int32_t t3 = CX_BIND(lib, grabe_t3)("BARRIO-SUR-LARGO", "x", &label);
  ASSERT_EQ(t3, 1);
  cx_area_object o{};
  ASSERT_EQ(CX_BIND(lib, sleer_top)(red[6], &o, t3, 0), 0);
  EXPECT_EQ(std::string(o.code, 13), std::string("00BARRIO-SUR-"));
  EXPECT_EQ(static_cast<double>(o.x), 3000.0);
  EXPECT_EQ(query(red[7], 2999, 3999, 3001, 4001), (std::vector<int32_t>{t3}));
  EXPECT_TRUE(query(red[7], 3001, 3999, 3002, 4001).empty());
}

int pumps = 0;
void CX_CALL stop_at_first_pump(void* user) {
  ++pumps;
  reinterpret_cast<decltype(&terminar)>(user)(0);
}
void CX_CALL count_pump(void*) {
  ++pumps;
}

TEST_F(TopologyHost, RedrawDrawsTheWindowAndStopsWhenTheHostSaysSo) {
  ASSERT_EQ(CX_BIND(lib, abra_t0)(0), 1);
  cx_object dot{};
  dot.kind = 3;
  dot.count = 2;
  for (int i = 0; i < 120; ++i) {
    const double x[] = {100.0 + 8 * (i % 12), 104.0 + 8 * (i % 12)};
    const double y[] = {100.0 + 8 * (i / 12), 100.0 + 8 * (i / 12)};
    dot.x = x[0];
    dot.y = y[0];
    ASSERT_GT(CX_BIND(lib, grabe_t0)(&dot, x, y, nullptr), 0);
  }
  CX_BIND(lib, cierre_t0)(0);
  const int32_t hdc = CX_BIND(lib, crear_dispositivo)(200, 200);
  ASSERT_GT(hdc, 0);
  CX_BIND(lib, gabrest)(0, 0, 200, 200, hdc);
  CX_BIND(lib, set_video)(0, 0, 200, 200);
  pumps = 0;
  CX_BIND(lib, cx_set_pump_callback)(count_pump, nullptr);
  CX_BIND(lib, redespliegue)(0);
  EXPECT_EQ(pumps, 3);  // after hits 50 and 100, and at the end
  const int whole = ink(lib, hdc, 200, 200);
  EXPECT_GE(whole, 120 * 4);

  CX_BIND(lib, liberar_dispositivo)(hdc);
  const int32_t fresh = CX_BIND(lib, crear_dispositivo)(200, 200);
  CX_BIND(lib, gabrest)(0, 0, 200, 200, fresh);
  CX_BIND(lib, set_video)(0, 0, 200, 200);
  pumps = 0;
  CX_BIND(lib, cx_set_pump_callback)
  (stop_at_first_pump, reinterpret_cast<void*>(CX_BIND(lib, terminar)));
  CX_BIND(lib, redespliegue)(0);
  EXPECT_EQ(pumps, 2);  // the one that stopped it, and the last
  const int part = ink(lib, fresh, 200, 200);
  EXPECT_GT(part, 0);
  EXPECT_LT(part, whole / 2);
  CX_BIND(lib, cx_set_pump_callback)(nullptr, nullptr);
  CX_BIND(lib, liberar_dispositivo)(fresh);
  // The current layer's files are open again after a redraw.
  EXPECT_EQ(CX_BIND(lib, set_consts)(24, 3), 3);
  CX_BIND(lib, redespliegue)(0);
  EXPECT_EQ(CX_BIND(lib, get_consts)(24), 3);
  const double x[] = {5, 6}, y[] = {5, 6};
  EXPECT_EQ(CX_BIND(lib, grabe_t0)(&dot, x, y, nullptr), 121);
}

}  // namespace

namespace {

// The ink of a redraw of two nodes and the arc between them, with the node
// kind (2) and the arc kind (1) switched off as asked.
int network_ink(EngineLibrary& lib, bool hide_nodes, bool hide_arcs) {
  const int32_t hdc = CX_BIND(lib, crear_dispositivo)(200, 200);
  CX_BIND(lib, gabrest)(0, 0, 200, 200, hdc);
  CX_BIND(lib, set_video)(0, 0, 200, 200);
  CX_BIND(lib, set_objetos)(2, hide_nodes);
  CX_BIND(lib, set_objetos)(1, hide_arcs);
  CX_BIND(lib, redespliegue)(0);
  const int n = ink(lib, hdc, 200, 200);
  CX_BIND(lib, liberar_dispositivo)(hdc);
  return n;
}

TEST_F(TopologyHost, ArcsFollowTheirOwnKindsSwitchNotTheirNodes) {
  EXPECT_EQ(CX_BIND(lib, set_consts)(24, 1), 1);
  int16_t red[CX_RED_HANDLES], count;
  CX_BIND(lib, get_red)(red, 1, &count);
  cx_node code{};
  cx_object at{};
  at.kind = 2;
  cx_arc ends{};
  const double x[] = {20, 180}, y[] = {100, 100};
  for (int i = 0; i < 2; ++i) {
    at.x = x[i];
    at.y = y[i];
    (i ? ends.to_node : ends.from_node) = CX_BIND(lib, grabe_nodo)(&code, &at, 0, 0, 0, red);
  }
  cx_object line{};
  line.kind = 1;
  ASSERT_EQ(CX_BIND(lib, grabe_arco)(&ends, &line, x, y, 0, red), 1);
  const int all = network_ink(lib, false, false);
  const int lines = network_ink(lib, true, false);
  const int markers = network_ink(lib, false, true);
  EXPECT_GE(lines, 150);  // the line across, without its end markers
  EXPECT_GT(markers, 0);
  EXPECT_GT(all, lines);
  EXPECT_GT(all, markers);
  EXPECT_EQ(network_ink(lib, true, true), 0);
}

}  // namespace
