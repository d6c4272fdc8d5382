// Block files and point lists; whole-table and list loads with their limits
// and warnings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "cartex32.h"
#include "frame/memory.h"
#include "records/blocks.h"
#include "records/record_file.h"
#include "records/tables.h"
#include "support/faulty_files.h"
#include "support/recording_sink.h"
#include "support/temp_base.h"

namespace cx {
namespace {

using testing::RecordingSink;
using testing::TempBase;
using Bytes = std::vector<unsigned char>;

int32_t le32(const Bytes& b, std::size_t at) {
  return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                              (static_cast<uint32_t>(b[at + 3]) << 24));
}

class BlockFile : public ::testing::Test {
 protected:
  TempBase base;
  RecordingSink sink;
};

TEST_F(BlockFile, NewFileIsTwoZeroedHeadersPointingPastThemselves) {
  ASSERT_EQ(cree_bloques("COORDEN.DAT"), 0);
  const Bytes file = TempBase::bytes("COORDEN.DAT");
  ASSERT_EQ(file.size(), 2408u);
  EXPECT_EQ(le32(file, 0), 2408);
  EXPECT_EQ(Bytes(file.begin() + 4, file.end()), Bytes(2404, 0));

  TempBase::write("OTRO.DAT", Bytes{1, 2, 3});
  EXPECT_EQ(cree_bloques("OTRO.DAT"), -1);
  EXPECT_EQ(TempBase::bytes("OTRO.DAT"), (Bytes{1, 2, 3}));
}

TEST_F(BlockFile, BlocksArePlacedAtTheEndInWholeUnits) {
  ASSERT_EQ(cree_bloques("COO.DAT"), 0);
  const int h = abra_compartido("COO.DAT");
  EXPECT_EQ(pida_bloque(h, 301), -1);
  EXPECT_EQ(pida_bloque(h, -1), -1);
  EXPECT_EQ(TempBase::size("COO.DAT"), 2408u);

  EXPECT_EQ(pida_bloque(h, 0), 2408);  // taken as one unit
  EXPECT_EQ(TempBase::size("COO.DAT"), 2424u);
  EXPECT_EQ(pida_bloque(h, 300), 2424);
  const Bytes file = TempBase::bytes("COO.DAT");
  EXPECT_EQ(file.size(), 2424u + 4800u);
  EXPECT_EQ(le32(file, 0), 2424 + 4800);
  EXPECT_TRUE(sink.messages.empty());
  cierre_archivo(h);
}

TEST_F(BlockFile, HeaderThatCannotBeReadIsReported) {
  TempBase::write("MALO.DAT", Bytes(100, 0));
  const int h = abra_compartido("MALO.DAT");
  EXPECT_EQ(pida_bloque(h, 1), -1);
  EXPECT_EQ(sink.messages.at(0).text, "XPEDIR: error en Reg.0");
  EXPECT_EQ(TempBase::size("MALO.DAT"), 100u);
  cierre_archivo(h);
}

TEST_F(BlockFile, PointListsRoundTripXsThenYs) {
  ASSERT_EQ(cree_bloques("COORDEN.DAT"), 0);
  const int h = abra_compartido("COORDEN.DAT");
  const int32_t at = pida_bloque(h, 3);
  const double x[3] = {1.5, 2.5, 3.5}, y[3] = {-1.0, 0.0, 1e9};
  EXPECT_EQ(grabe_puntos(h, at, x, y, 3), 0);
  const Bytes file = TempBase::bytes("COORDEN.DAT");
  double on_disk;
  std::memcpy(&on_disk, file.data() + at + 8 * 3, 8);  // first y follows the xs
  EXPECT_EQ(on_disk, -1.0);

  double bx[3], by[3];
  EXPECT_EQ(lea_coord(h, at, bx, by, 3), 0);
  EXPECT_EQ(std::vector<double>(bx, bx + 3), std::vector<double>(x, x + 3));
  EXPECT_EQ(std::vector<double>(by, by + 3), std::vector<double>(y, y + 3));

  // Past the end: the outputs come back zeroed, the failure reported.
  bx[0] = by[0] = 7;
  EXPECT_EQ(lea_coord(h, at + 48, bx, by, 1), -1);
  EXPECT_EQ(bx[0], 0.0);
  EXPECT_EQ(by[0], 0.0);
  EXPECT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(lea_coord(h, at, bx, by, -1), -1);
  EXPECT_EQ(lea_coord(h, at, nullptr, by, 2), -1);
  EXPECT_EQ(grabe_puntos(h, at, nullptr, y, 2), 1);
  EXPECT_EQ(unidades_texto(14), 1);  // 15 bytes with the NUL
  EXPECT_EQ(unidades_texto(15), 2);
  cierre_archivo(h);
}

class TableLoad : public ::testing::Test {
 protected:
  // A table file of n records of size bytes; record i is filled with i % 251.
  static void make_table(const char* name, int n, int size) {
    Bytes data;
    for (int i = 0; i < n; ++i) data.insert(data.end(), size, static_cast<unsigned char>(i % 251));
    TempBase::write(name, data);
  }
  TempBase base;
  RecordingSink sink;
};

TEST_F(TableLoad, LargeTableIsCutTo64KWithAWarning) {
  make_table("TABCAP.DAT", 2000, 43);
  Arreglo<unsigned char> table;
  int32_t count;
  EXPECT_EQ(cargue_tabla("TABCAP.DAT", &table, 43, &count, 9999), 0);
  EXPECT_EQ(count, 1523);
  ASSERT_EQ(sink.texts(), std::vector<std::string>{
                              "ADVERTENCIA: TABLA TABCAP.DAT mas de 64k, recortada a 1523 regs."});
  EXPECT_EQ(table[0], 0);  // record 0 is left for the caller's defaults
  EXPECT_EQ(table[1523 * 43 + 42], 1523 % 251);

  sink.messages.clear();
  EXPECT_EQ(cargue_tabla("TABCAP.DAT", &table, 43, &count, 255), 0);
  EXPECT_EQ(count, 255);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(table[255 * 43], 255 % 251);
}

TEST_F(TableLoad, MissingOrTooShortFileGivesTwoZeroedRecords) {
  for (const char* name : {"NADA.DAT", "CORTO.DAT"}) {
    if (std::string(name) == "CORTO.DAT") TempBase::write(name, Bytes(20, 9));
    sink.messages.clear();
    Arreglo<unsigned char> table;
    int32_t count = 5;
    EXPECT_EQ(cargue_tabla(name, &table, 70, &count, 9999), -1) << name;
    EXPECT_EQ(count, 0);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Bytes(table.get(), table.get() + 140), Bytes(140, 0)) << name;
    EXPECT_EQ(sink.texts(),
              std::vector<std::string>{std::string("ADVERTENCIA: TABLA ") + name + "  no existe"});
  }
}

TEST_F(TableLoad, HeaderOnlyTableStillHoldsRecordOne) {
  make_table("TABOBJ.DAT", 1, 70);
  Arreglo<unsigned char> table;
  int32_t count;
  EXPECT_EQ(cargue_tabla("TABOBJ.DAT", &table, 70, &count, 9999), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(Bytes(table.get(), table.get() + 140), Bytes(140, 0));  // in bounds: two records
}

void* no_memory(std::size_t) {
  return nullptr;
}

TEST_F(TableLoad, AllocationFailureIsReported) {
  make_table("TABCAP.DAT", 10, 43);
  const Allocator previous = set_allocator(no_memory);
  Arreglo<unsigned char> table;
  int32_t count;
  EXPECT_EQ(cargue_tabla("TABCAP.DAT", &table, 43, &count, 255), -1);
  set_allocator(previous);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(sink.texts(), std::vector<std::string>{"MEMORIA INSUFICIENTE:  TABLA TABCAP.DAT"});
}

TEST_F(TableLoad, ListHoldsEachRecordSeparately) {
  make_table("TABLIN.DAT", 6, 34);
  unsigned char** list;
  int32_t count;
  EXPECT_EQ(cargue_lista("TABLIN.DAT", &list, 34, &count, 9999), 0);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(Bytes(list[0], list[0] + 34), Bytes(34, 0));
  EXPECT_EQ(Bytes(list[5], list[5] + 34), Bytes(34, 5));
  EXPECT_EQ(list[6], nullptr);
  libere_lista(&list);
  EXPECT_EQ(list, nullptr);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(TableLoad, ListIsRefusedNear64KAndWhenMissing) {
  // 1900 records of 34 bytes: 64,600 bytes + 1600 is not below 65535.
  make_table("TABLIN.DAT", 1900, 34);
  unsigned char** list;
  int32_t count;
  EXPECT_EQ(cargue_lista("TABLIN.DAT", &list, 34, &count, 9999), -1);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(Bytes(list[1], list[1] + 34), Bytes(34, 0));
  libere_lista(&list);
  EXPECT_EQ(cargue_lista("TABLIN.DAT", &list, 34, &count, 1000), 0);  // 34,034 bytes fit
  EXPECT_EQ(count, 1000);
  libere_lista(&list);
  EXPECT_EQ(cargue_lista("NADA.DAT", &list, 34, &count, 10), -1);
  libere_lista(&list);
  EXPECT_EQ(sink.texts(),
            (std::vector<std::string>{"ADVERTENCIA: TABLA TABLIN.DAT   MEMORIA INSUFICIENTE ",
                                      "ADVERTENCIA: TABLA NADA.DAT   NO EXISTE "}));
}

TEST_F(TableLoad, TypedTableHoldsTheDiskRecordsFieldByField) {
  // Three layer records: record i has i in every byte; record 0 is zeroed.
  make_table("TABCAP.DAT", 3, sizeof(cx_layer));
  std::vector<cx_layer> layers;
  int32_t count = 0;
  EXPECT_EQ(cargue_tabla("TABCAP.DAT", &layers, &count, 255), 0);
  EXPECT_EQ(count, 2);
  ASSERT_EQ(layers.size(), 3u);
  EXPECT_EQ(layers[0].hidden, 0);
  EXPECT_EQ(layers[2].name[0], 2);
  EXPECT_EQ(layers[2].kind, 2);
  EXPECT_EQ(layers[1].network_prefix[4], 1);

  // Missing, and a header alone: the two records of the byte loader.
  for (const char* name : {"NADA.DAT", "TABOBJ.DAT"}) {
    if (std::string(name) == "TABOBJ.DAT") make_table(name, 1, sizeof(cx_kind));
    std::vector<cx_kind> kinds(7);
    count = 9;
    cargue_tabla(name, &kinds, &count, 255);
    EXPECT_EQ(count, 0) << name;
    ASSERT_EQ(kinds.size(), 2u) << name;
    EXPECT_EQ(kinds[1].layer, 0) << name;
  }
}

void* no_memory_at_all(std::size_t) {
  return nullptr;
}

int load_bytes(const char* path, int32_t size) {
  Arreglo<unsigned char> table;
  int32_t count;
  return cargue_tabla(path, &table, size, &count, 255);
}

int load_layers(const char* path) {
  std::vector<cx_layer> table;
  int32_t count;
  return cargue_tabla(path, &table, &count, 255);
}

int load_list(const char* path) {
  unsigned char** list;
  int32_t count;
  const int result = cargue_lista(path, &list, 34, &count, 9999);
  libere_lista(&list);
  return result;
}

// Every way out of a loader or creator closes what it opened: a table that
// loads, one too short, one cut by the allocator, one whose reads fail, a
// list that loads and one refused, files created anew and over old ones.
TEST_F(TableLoad, EveryPathClosesTheFilesItOpened) {
  make_table("TABCAP.DAT", 10, 43);
  make_table("TABLIN.DAT", 1900, 34);
  make_table("TABSTY.DAT", 4, 34);
  TempBase::write("CORTO.DAT", Bytes(20, 9));
  int16_t unused;
  const struct {
    const char* what;
    bool fail_reads, no_memory;
    std::function<int()> run;
  } cases[] = {
      {"table", false, false, [] { return load_bytes("TABCAP.DAT", 43); }},
      {"short table", false, false, [] { return load_bytes("CORTO.DAT", 70); }},
      {"table without memory", false, true, [] { return load_bytes("TABCAP.DAT", 43); }},
      {"table unread", true, false, [] { return load_layers("TABCAP.DAT"); }},
      {"list", false, false, [] { return load_list("TABSTY.DAT"); }},
      {"list refused", false, false, [] { return load_list("TABLIN.DAT"); }},
      {"record file over an old one", false, false,
       [&] { return int{crear_archivo(&unused, "TABSTY.DAT", 34)}; }},
      {"block file", false, false, [] { return int{cree_bloques("NUEVO.DAT")}; }},
      {"block file that exists", false, false, [] { return int{cree_bloques("NUEVO.DAT")}; }},
      {"verify", false, false, [] { return int{sverify("TABCAP.DAT")}; }},
  };
  for (const auto& c : cases) {
    testing::FaultyFiles layer;
    layer.fail_reads = c.fail_reads;
    const Allocator previous = set_allocator(c.no_memory ? no_memory_at_all : nullptr);
    c.run();
    set_allocator(previous);
    EXPECT_GT(layer.opens, 0) << c.what;
    EXPECT_EQ(layer.open_handles, 0) << c.what;
  }
}

int allocations_left = 0;
void* limited_memory(std::size_t size) {
  return allocations_left-- > 0 ? std::malloc(size) : nullptr;
}

TEST_F(TableLoad, ListStopsAtTheFirstRecordThatCannotBeAllocated) {
  make_table("TABLIN.DAT", 6, 34);
  allocations_left = 4;  // the pointer array and records 0, 1 and 2
  const Allocator previous = set_allocator(limited_memory);
  unsigned char** list;
  int32_t count;
  EXPECT_EQ(cargue_lista("TABLIN.DAT", &list, 34, &count, 9999), 0);
  set_allocator(previous);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(list[2][0], 2);
  EXPECT_EQ(list[3], nullptr);
  libere_lista(&list);
}

}  // namespace
}  // namespace cx
