// Shared opening, record and byte reads and writes with their diagnostics,
// and handing records out and back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cartex32.h"
#include "records/codec.h"
#include "records/record_file.h"
#include "support/faulty_files.h"
#include "support/recording_sink.h"
#include "support/temp_base.h"

namespace cx {
namespace {

using testing::FaultyFiles;
using testing::RecordingSink;
using testing::TempBase;
using Bytes = std::vector<unsigned char>;

class RecordFile : public ::testing::Test {
 protected:
  // Creates name as a record file of the given size and opens it.
  int create_open(const char* name, int size) {
    int16_t unused;
    EXPECT_EQ(crear_archivo(&unused, name, size), 0);
    const int h = abra_compartido(name);
    EXPECT_GT(h, 1);
    opened.push_back(h);
    return h;
  }
  void TearDown() override {
    for (int h : opened) cierre_archivo(h);
  }
  std::string leer_message(long n, const char* name, int h, long last) {
    char text[200];
    std::snprintf(text, sizeof text, "LEER: Error en reg. %ld en %s. (%d,%ld)\n", n, name, h, last);
    return text;
  }

  TempBase base;
  RecordingSink sink;
  std::vector<int> opened;
};

TEST_F(RecordFile, NewFileHoldsOneZeroedHeaderRecord) {
  const int h = create_open("NUEVO.DAT", 43);
  EXPECT_EQ(TempBase::size("NUEVO.DAT"), 43u);
  unsigned char rec[43];
  std::memset(rec, 0xAA, sizeof rec);
  EXPECT_EQ(sleer(h, rec, 0, 43), 0);
  EXPECT_EQ(Bytes(rec, rec + 43), Bytes(43, 0));
  EXPECT_EQ(ultimo_registro(h, 43), 0);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(RecordFile, ReadPastTheEndZeroesAndNamesTheHighestRecord) {
  const int h = create_open("CAPAS.DAT", 10);
  const Bytes one(10, 1), two(10, 2);
  ASSERT_EQ(sescribir(h, one.data(), 1, 10), 0);
  ASSERT_EQ(sescribir(h, two.data(), 2, 10), 0);

  unsigned char rec[10];
  EXPECT_EQ(sleer(h, rec, 2, 10), 0);
  EXPECT_EQ(Bytes(rec, rec + 10), two);
  std::memset(rec, 0xAA, sizeof rec);
  EXPECT_EQ(sleer(h, rec, 3, 10), -1);
  EXPECT_EQ(Bytes(rec, rec + 10), Bytes(10, 0));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, leer_message(3, "CAPAS.DAT", h, 2));
  EXPECT_EQ(sink.messages[0].caption, "Mensaje de Cartex_win");
  EXPECT_EQ(sink.messages[0].style, CX_MB_OK | CX_MB_ICONSTOP);
}

TEST_F(RecordFile, WritingBeyondTheEndGrowsTheFile) {
  const int h = create_open("G.DAT", 8);
  const Bytes rec{1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(sescribir(h, rec.data(), 5, 8), 0);
  EXPECT_EQ(TempBase::size("G.DAT"), 48u);
  EXPECT_EQ(ultimo_registro(h, 8), 5);
}

TEST_F(RecordFile, OffsetsBeyond2GiBDoNotWrap) {
  // 100,000 x 30,000 = 3,000,000,000: a 32-bit offset would be negative.
  const int h = create_open("GRANDE.DAT", 30000);
  Bytes rec(30000, 0x5A);
  ASSERT_EQ(sescribir(h, rec.data(), 100000, 30000), 0);
  EXPECT_EQ(TempBase::size("GRANDE.DAT"), 3000030000u);
  Bytes back(30000, 0);
  EXPECT_EQ(sleer(h, back.data(), 100000, 30000), 0);
  EXPECT_EQ(back, rec);
  EXPECT_EQ(ultimo_registro(h, 30000), 100000);
}

TEST_F(RecordFile, BadArgumentsAreRefusedAndReported) {
  const int h = create_open("B.DAT", 8);
  unsigned char rec[8];
  EXPECT_EQ(sleer(h, nullptr, 0, 8), -1);
  EXPECT_EQ(sleer(h, rec, 0, 0), -1);
  EXPECT_EQ(sleer(h, rec, 0, -8), -1);
  EXPECT_EQ(sleer(h, rec, -1, 8), -1);
  EXPECT_EQ(sescribir(h, nullptr, 1, 8), -1);
  EXPECT_EQ(sescribir(h, rec, 1, 0), -1);
  EXPECT_EQ(sescribir(h, rec, -3, 8), -1);
  EXPECT_EQ(sink.messages.size(), 7u);
  EXPECT_EQ(TempBase::size("B.DAT"), 8u);  // nothing written

  // A handle the name table does not cover is reported as not open.
  EXPECT_EQ(sleer(500, rec, 1, 8), -1);
  EXPECT_EQ(sink.messages.back().text, leer_message(1, "No abierto", 500, -1));
  EXPECT_EQ(sleer(-1, rec, 1, 8), -1);
}

TEST_F(RecordFile, NameTableKeepsFourteenCharactersPerHandle) {
  std::filesystem::create_directory("subdirectorio");
  const int h = create_open("subdirectorio/ARCHIVO.DAT", 4);
  EXPECT_STREQ(nombre_abierto(h), "subdirectorio/");
  EXPECT_STREQ(nombre_abierto(-2), "No abierto");
  EXPECT_STREQ(nombre_abierto(38), "No abierto");
  EXPECT_STREQ(nombre_abierto(32767), "No abierto");
}

TEST_F(RecordFile, BytesAtAnOffset) {
  const int h = create_open("BY.DAT", 16);
  const Bytes data{9, 8, 7};
  EXPECT_EQ(esc_bytes(h, 5, data.data(), 3), 0);
  unsigned char back[3];
  EXPECT_EQ(lea_bytes(h, 5, back, 3), 0);
  EXPECT_EQ(Bytes(back, back + 3), data);
  std::memset(back, 1, sizeof back);
  EXPECT_EQ(lea_bytes(h, 15, back, 3), -1);  // runs past the end of 16 bytes
  EXPECT_EQ(Bytes(back, back + 3), Bytes(3, 0));
  char expected[100];
  std::snprintf(expected, sizeof expected, "LEA_BYTES: Error en reg. 15 en BY.DAT. (%d,4)\n", h);
  EXPECT_EQ(sink.messages.at(0).text, expected);
  EXPECT_EQ(lea_bytes(h, 0, back, -1), -1);
}

TEST_F(RecordFile, FailedWritesAreReported) {
  const int h = create_open("F.DAT", 4);
  FaultyFiles faulty;
  faulty.fail_write = 1;
  const Bytes rec{1, 2, 3, 4};
  EXPECT_EQ(sescribir(h, rec.data(), 1, 4), -1);
  char expected[100];
  std::snprintf(expected, sizeof expected, "ESCRIBIR: Error reg. 1 en F.DAT. (%d,%ld)\n", h, 0L);
  EXPECT_EQ(sink.messages.at(0).text, expected);
  EXPECT_EQ(esc_bytes(h, 0, rec.data(), 4), 0);  // only the first write fails
  faulty.fail_write = 3;
  EXPECT_EQ(esc_bytes(h, 0, rec.data(), 4), -1);
  std::snprintf(expected, sizeof expected, "ESC_BYTES: Error en reg. 0 en F.DAT. (%d,0)\n", h);
  EXPECT_EQ(sink.messages.at(1).text, expected);
}

TEST_F(RecordFile, VerifyOpensButNeverCreates) {
  EXPECT_EQ(sverify("FALTA.DAT"), 0);
  EXPECT_FALSE(TempBase::exists("FALTA.DAT"));
  TempBase::write("ESTA.DAT", Bytes(4, 0));
  EXPECT_EQ(sverify("ESTA.DAT"), -1);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(RecordFile, NamesMatchWithoutCaseAndWithBackslashes) {
  std::filesystem::create_directory("Base");
  TempBase::write("Base/tabico.dat", Bytes(4, 7));
  EXPECT_EQ(sverify("BASE\\TABICO.DAT"), -1);
  EXPECT_EQ(sverify("base/TabIco.dat"), -1);
  EXPECT_EQ(sverify("base/otro.dat"), 0);
  // An exact name is preferred over a case variant.
  TempBase::write("Base/TABICO.DAT", Bytes(8, 1));
  const int h = abra_compartido("Base\\TABICO.DAT");
  opened.push_back(h);
  unsigned char rec[8];
  EXPECT_EQ(sleer(h, rec, 0, 8), 0);
  EXPECT_EQ(rec[0], 1);
}

TEST_F(RecordFile, CreatingReplacesAnExistingFile) {
  TempBase::write("R.DAT", Bytes(100, 9));
  int16_t handle = 7;
  EXPECT_EQ(crear_archivo(&handle, "R.DAT", 20), 0);
  EXPECT_EQ(handle, -1);  // the new file is not left open
  EXPECT_EQ(TempBase::bytes("R.DAT"), Bytes(20, 0));
}

TEST_F(RecordFile, CreationFailureIsReported) {
  int16_t handle = 7;
  EXPECT_EQ(crear_archivo(&handle, "no/existe/X.DAT", 20), -1);
  EXPECT_EQ(handle, -1);
  EXPECT_EQ(sink.messages.at(0).text, "[crear arch.] ADVERTENCIA: no/existe/X.DAT no fue creado.");
}

TEST_F(RecordFile, RecordsAreHandedOutAtTheEnd) {
  const int h = create_open("T0.DAT", 31);
  EXPECT_EQ(pida_registro(h, 31), 1);
  unsigned char header[4];
  ASSERT_EQ(lea_bytes(h, 0, header, 4), 0);
  EXPECT_EQ(Bytes(header, header + 4), (Bytes{1, 0, 0, 0}));
  const Bytes rec(31, 3);
  ASSERT_EQ(sescribir(h, rec.data(), 1, 31), 0);
  EXPECT_EQ(TempBase::size("T0.DAT"), 62u);
  // Two hand-outs before a write are two records; an unwritten one reads
  // as given back.
  EXPECT_EQ(pida_registro(h, 31), 2);
  EXPECT_EQ(pida_registro(h, 31), 3);
  EXPECT_EQ(TempBase::size("T0.DAT"), 124u);
  Bytes unwritten(31);
  ASSERT_EQ(lea_registro(h, unwritten.data(), 2, 31), 0);
  EXPECT_EQ(get_le32(unwritten.data()), -1);
  ASSERT_EQ(lea_bytes(h, 0, header, 4), 0);
  EXPECT_EQ(Bytes(header, header + 4), (Bytes{3, 0, 0, 0}));

  TempBase::write("CORTO.DAT", Bytes(10, 0));
  const int short_file = abra_compartido("CORTO.DAT");
  opened.push_back(short_file);
  EXPECT_EQ(pida_registro(short_file, 31), 0);
  EXPECT_EQ(pida_registro(h, 0), 0);
}

TEST_F(RecordFile, GivingBackMarksTheRecordAndRefusesOnePastTheEnd) {
  const int h = create_open("ARCO.DAT", 12);
  const Bytes rec{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  ASSERT_EQ(sescribir(h, rec.data(), 1, 12), 0);
  ASSERT_EQ(sescribir(h, rec.data(), 2, 12), 0);
  EXPECT_EQ(devuelva_registro(h, 2, 12), 0);
  unsigned char back[12];
  ASSERT_EQ(sleer(h, back, 2, 12), 0);
  EXPECT_EQ(Bytes(back, back + 12), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_TRUE(sink.messages.empty());

  // Record 3 does not exist: marking it would grow the file.
  EXPECT_EQ(devuelva_registro(h, 3, 12), -1);
  EXPECT_EQ(TempBase::size("ARCO.DAT"), 36u);
  char expected[100];
  std::snprintf(expected, sizeof expected, "DEVOLVER: error R. 3 en ARCO.DAT. (%d,2)\n", h);
  EXPECT_EQ(sink.messages.at(0).text, expected);
  EXPECT_EQ(devuelva_registro(h, 0, 12), -1);  // the header
  EXPECT_EQ(devuelva_registro(h, 1, 8), -1);   // too small to mark
  EXPECT_EQ(sink.messages.size(), 3u);
}

}  // namespace
}  // namespace cx
