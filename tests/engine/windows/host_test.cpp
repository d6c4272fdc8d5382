// cartex32.dll as a 32-bit Windows host sees it: loaded with LoadLibraryA,
// every export bound by its plain name with GetProcAddress and called with
// the __stdcall prototypes of cartex32.h; the export table; the record
// layer's byte order and the host layouts under the 32-bit ABI; message
// boxes over the host window and the pumping of its messages.
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "cartex32.h"
#include "check.h"
#include "engine_dll.h"
#include "scratch_dir.h"
#include "stack_probe.h"

namespace {

using cxw::EngineDll;
using Bytes = std::vector<unsigned char>;

std::set<std::string> listed_names() {
  std::ifstream in(CARTEX32_EXPORT_LIST);
  std::set<std::string> names;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name;
    if (words >> name && name[0] != '#') names.insert(name);
  }
  return names;
}

Bytes file_bytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A handle of the C runtime the DLL shares with this program (msvcrt.dll),
// as the engine's own openers give out.
int open_record_file(const char* path) {
  return _sopen(path, _O_RDWR | _O_BINARY | _O_CREAT | _O_TRUNC, _SH_DENYNO, _S_IREAD | _S_IWRITE);
}

// ---------------------------------------------------------------- loading

DWORD WINAPI five(void*) {
  return 5;
}

CASE(Load, OpensNoFilesAndIgnoresThreads) {
  cxw::ScratchDir dir;
  REQUIRE(GetModuleHandleA("cartex32.dll") == nullptr);
  {
    EngineDll dll;
    REQUIRE(dll.module() != nullptr);
    CHECK_EQ(dir.entries(), 0);
    // A thread started and ended while the library is loaded changes
    // nothing (the runtime's TLS callbacks see it; the library does not).
    HANDLE thread = CreateThread(nullptr, 0, five, nullptr, 0, nullptr);
    REQUIRE(thread != nullptr);
    CHECK_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    CHECK_EQ(code, 5u);
    CloseHandle(thread);
  }
  CHECK(GetModuleHandleA("cartex32.dll") == nullptr);
  CHECK_EQ(dir.entries(), 0);
  EngineDll again;
  CHECK(again.module() != nullptr);
}

// ---------------------------------------------------------------- exports

CASE(Exports, TheTableHoldsPlainListedNamesAndNoDecoratedOnes) {
  EngineDll dll;
  REQUIRE(dll.module() != nullptr);
  const std::set<std::string> listed = listed_names();
  REQUIRE(listed.size() > 250);
  const std::vector<std::string> exported = dll.exported_names();
  REQUIRE(std::find(exported.begin(), exported.end(), "paselong") != exported.end());
  for (const std::string& name : exported) {
    if (!listed.count(name)) cxw::fail(__FILE__, __LINE__, name + " is not in exports.txt");
    CHECK(name.find('@') == std::string::npos);
    // Neither form of a decorated stdcall name is there beside the plain one.
    for (int bytes = 0; bytes <= 128; bytes += 4) {
      const std::string decorated = name + "@" + std::to_string(bytes);
      CHECK_EQ(GetProcAddress(dll.module(), decorated.c_str()), nullptr);
      CHECK_EQ(GetProcAddress(dll.module(), ("_" + decorated).c_str()), nullptr);
    }
    // Each binds by name to code inside the DLL's own image.
    const auto address = reinterpret_cast<uintptr_t>(GetProcAddress(dll.module(), name.c_str()));
    MEMORY_BASIC_INFORMATION where{};
    VirtualQuery(reinterpret_cast<void*>(address), &where, sizeof where);
    CHECK(where.AllocationBase == dll.module());
  }
}

CASE(Exports, EveryDeclaredFunctionBindsByItsPlainName) {
  EngineDll dll;
  REQUIRE(dll.module() != nullptr);
#define BOUND(name) reinterpret_cast<const void*>(CX_BIND(dll, name))
  const void* bound[] = {
      BOUND(paselong),
      BOUND(paseint),
      BOUND(hi_word),
      BOUND(lo_word),
      BOUND(mueva),
      BOUND(set_Hwnd),
      BOUND(terminar),
      BOUND(activar_cartex),
      BOUND(desactivar_cartex),
      BOUND(cartex_activo),
      BOUND(Init_Adress),
      BOUND(Set_Adress),
      BOUND(Get_Dir_Token),
      BOUND(cx_set_message_callback),
      BOUND(cx_set_pump_callback),
      BOUND(sverify),
      BOUND(sleer),
      BOUND(sescribir),
      BOUND(lea_bytes),
      BOUND(lea_coord),
      BOUND(sleer_obj),
      BOUND(sleer_nod),
      BOUND(sleer_arc),
      BOUND(sleer_top),
      BOUND(sleer_are),
      BOUND(sescribir_obj),
      BOUND(sescribir_nod),
      BOUND(sescribir_arc),
      BOUND(sescribir_top),
      BOUND(sescribir_are),
      BOUND(inigks),
      BOUND(end_cons),
      BOUND(inifil),
      BOUND(set_consts),
      BOUND(get_consts),
      BOUND(set_capas),
      BOUND(get_capas),
      BOUND(set_objetos),
      BOUND(get_objetos),
      BOUND(set_tcapas),
      BOUND(get_tcapas),
      BOUND(set_tobjetos),
      BOUND(get_tobjetos),
      BOUND(set_grid),
      BOUND(get_grid),
      BOUND(set_params),
      BOUND(get_params),
      BOUND(set_lims),
      BOUND(get_lims),
      BOUND(set_descr),
      BOUND(set_workpol),
      BOUND(set_workxy),
      BOUND(set_workcirc),
      BOUND(get_work_extents),
      BOUND(set_convens),
      BOUND(get_convens),
      BOUND(set_convxy),
      BOUND(get_convxy),
      BOUND(get_video),
      BOUND(set_video),
      BOUND(initst),
      BOUND(dmoven),
      BOUND(last_window),
      BOUND(zoom_in),
      BOUND(zoom_out),
      BOUND(crear_dispositivo),
      BOUND(guardar_png),
      BOUND(copiar_pixeles),
      BOUND(liberar_dispositivo),
      BOUND(gabrest),
      BOUND(vb_sethdcxy),
      BOUND(ginicie),
      BOUND(gfinalice),
      BOUND(gaaspect),
      BOUND(gdmundo),
      BOUND(gamundo),
      BOUND(gdvista),
      BOUND(gavista),
      BOUND(gdrecorte),
      BOUND(garecorte),
      BOUND(gdtransf),
      BOUND(gatransf),
      BOUND(gdescala),
      BOUND(gaescala),
      BOUND(gdrotary),
      BOUND(garotary),
      BOUND(gxdev),
      BOUND(gydev),
      BOUND(grota),
      BOUND(grota_i),
      BOUND(int_rota),
      BOUND(distancia_VB),
      BOUND(calc_ang),
      BOUND(set_win_cliparea),
      BOUND(gdcolor),
      BOUND(gsetcolor),
      BOUND(ggetcolor),
      BOUND(gacolor),
      BOUND(getRGB),
      BOUND(gdlintip),
      BOUND(galintip),
      BOUND(gdlinanch),
      BOUND(gdeor),
      BOUND(gaeor),
      BOUND(gdcurcol),
      BOUND(gacurcol),
      BOUND(gcursor),
      BOUND(gpunto),
      BOUND(gdpunto),
      BOUND(gapunto),
      BOUND(glinea),
      BOUND(glineaint),
      BOUND(glineor),
      BOUND(gplinea),
      BOUND(grectang),
      BOUND(grecteor),
      BOUND(gcaja),
      BOUND(gborre),
      BOUND(gcirculo),
      BOUND(gelipse),
      BOUND(garco1),
      BOUND(garco2),
      BOUND(garco3),
      BOUND(distancia_poli),
      BOUND(init_converter),
      BOUND(set_origin),
      BOUND(set_target),
      BOUND(convert_latlon),
      BOUND(convlatlon),
      BOUND(newton),
      BOUND(gdigcal),
      BOUND(a_mundo),
      BOUND(a_digit),
  };
#undef BOUND
  const std::vector<std::string> exported = dll.exported_names();
  // The DLL exports what the header declares, no less and no more.
  CHECK_EQ(exported.size(), sizeof bound / sizeof bound[0]);
  std::set<const void*> distinct(std::begin(bound), std::end(bound));
  CHECK_EQ(distinct.size(), sizeof bound / sizeof bound[0]);
}

// --------------------------------------------------------------- __stdcall

// Calls `function` through the probe `times` times with the same slots and
// checks that the callee removed exactly its arguments each time; returns
// the last result (EAX).
template <typename F>
uint32_t call_balanced(F* function, const cxw::Slots& slots, const char* name, int times = 200) {
  if (!function) return 0;
  if (cxw::slots_of(function) != slots.count)
    cxw::fail(__FILE__, __LINE__, std::string(name) + ": the test passes the wrong slots");
  uint32_t result = 0;
  for (int i = 0; i < times; ++i) {
    const int32_t drift =
        cxw_call_slots(reinterpret_cast<const void*>(function), slots.words, slots.count, &result);
    if (drift != 0) {
      cxw::fail(__FILE__, __LINE__,
                std::string(name) + " left the stack " + std::to_string(drift) + " bytes off");
      break;
    }
  }
  return result;
}
#define CALL(dll, name, slots) call_balanced(CX_BIND(dll, name), slots, #name)

CASE(Stdcall, FrameExportsRemoveTheirOwnArguments) {
  EngineDll dll;
  REQUIRE(dll.module() != nullptr);
  int32_t value = 0x01020304;
  int16_t half = 258;
  unsigned char out[4] = {};
  CALL(dll, paselong, cxw::Slots() << &value << out);
  CHECK(out[0] == 1 && out[1] == 2 && out[2] == 3 && out[3] == 4);
  CALL(dll, paseint, cxw::Slots() << &half << out);
  CHECK(out[0] == 1 && out[1] == 2);
  CHECK_EQ(CALL(dll, hi_word, cxw::Slots() << -1), 65535u);
  CHECK_EQ(static_cast<int16_t>(CALL(dll, lo_word, cxw::Slots() << 65535)), -1);
  char from[] = "abcd", to[8] = {};
  CHECK_EQ(static_cast<int16_t>(CALL(dll, mueva, cxw::Slots() << from << to << 4)), -1);
  CHECK_EQ(std::string(to), "abcd");
  CHECK_EQ(static_cast<int16_t>(CALL(dll, set_Hwnd, cxw::Slots() << 0)), -1);
  CALL(dll, terminar, cxw::Slots() << 0);
  CHECK_EQ(static_cast<int16_t>(CALL(dll, activar_cartex, cxw::Slots() << 0)), -1);
  CHECK_EQ(static_cast<int16_t>(CALL(dll, cartex_activo, cxw::Slots() << 0)), -1);
  CHECK_EQ(static_cast<int16_t>(CALL(dll, desactivar_cartex, cxw::Slots() << 0)), 0);
  CALL(dll, Init_Adress, cxw::Slots());
  CALL(dll, Set_Adress, cxw::Slots() << "cl. 45 # 12-34");
  char token[256] = "";
  CHECK_EQ(static_cast<int16_t>(CALL(dll, Get_Dir_Token, cxw::Slots() << 1 << token)), 3);
  CHECK_EQ(std::string(token), "CL.");
}

CASE(Stdcall, DoubleArgumentsTakeTwoSlotsEach) {
  EngineDll dll;
  REQUIRE(dll.module() != nullptr);
  CALL(dll, initst, cxw::Slots() << 0);
  CALL(dll, set_video, cxw::Slots() << 100.0 << 200.0 << 1100.0 << 1200.0);
  double v[4] = {};
  CALL(dll, get_video, cxw::Slots() << &v[0] << &v[1] << &v[2] << &v[3]);
  CHECK_EQ(v[0], 100.0);
  CHECK_EQ(v[1], 200.0);
  CHECK_EQ(v[2], 1100.0);
  CHECK_EQ(v[3], 1200.0);
  CALL(dll, set_grid, cxw::Slots() << 1 << 1.5 << 2.5 << 3.5 << 4.5 << 5.5);
  int16_t on = 0;
  double g[5] = {};
  CALL(dll, get_grid, cxw::Slots() << &on << &g[0] << &g[1] << &g[2] << &g[3] << &g[4]);
  CHECK_EQ(on, 1);
  CHECK_EQ(g[0], 1.5);
  CHECK_EQ(g[4], 5.5);
  CALL(dll, set_workxy, cxw::Slots() << 10.0 << 20.0 << 30.0 << 40.0);
  double e[4] = {};
  CHECK_EQ(static_cast<int16_t>(
               CALL(dll, get_work_extents, cxw::Slots() << &e[0] << &e[1] << &e[2] << &e[3])),
           3);
  CHECK_EQ(e[0], 10.0);
  CHECK_EQ(e[3], 40.0);
}

int32_t CX_CALL answer_ok(void*, int32_t, const char*, const char*, int32_t) {
  return CX_IDOK;
}

CASE(Stdcall, RecordExportsRemoveTheirOwnArguments) {
  cxw::ScratchDir dir;
  EngineDll dll;
  REQUIRE(dll.module() != nullptr);
  CX_BIND(dll, cx_set_message_callback)(answer_ok, nullptr);
  const int h = open_record_file("REC.DAT");
  REQUIRE(h >= 0);
  uint32_t rec[2] = {0x11223344u, 0x55667788u};
  CHECK_EQ(static_cast<int16_t>(CALL(dll, sescribir, cxw::Slots() << h << rec << 1 << 8)), 0);
  uint32_t back[2] = {};
  CHECK_EQ(static_cast<int16_t>(CALL(dll, sleer, cxw::Slots() << h << back << 1 << 8)), 0);
  CHECK(back[0] == rec[0] && back[1] == rec[1]);
  CHECK_EQ(static_cast<int16_t>(CALL(dll, lea_bytes, cxw::Slots() << h << 12 << back << 4)), 0);
  CHECK_EQ(back[0], 0x55667788u);
  double xy[4] = {1, 2, 3, 4}, x[2] = {}, y[2] = {};
  CHECK_EQ(static_cast<int16_t>(CALL(dll, sescribir, cxw::Slots() << h << xy << 1 << 32)), 0);
  CHECK_EQ(static_cast<int16_t>(CALL(dll, lea_coord, cxw::Slots() << h << 32 << x << y << 2)), 0);
  CHECK(x[0] == 1 && x[1] == 2 && y[0] == 3 && y[1] == 4);
  cx_object object{};
  object.kind = 9;
  CHECK_EQ(static_cast<int16_t>(CALL(dll, sescribir_obj, cxw::Slots() << h << &object << 2 << 31)),
           0);
  cx_object read{};
  CHECK_EQ(static_cast<int16_t>(CALL(dll, sleer_obj, cxw::Slots() << h << &read << 2 << 0)), 0);
  CHECK_EQ(read.kind, 9);
  CHECK_EQ(static_cast<int16_t>(CALL(dll, sverify, cxw::Slots() << "REC.DAT")), -1);
  CHECK_EQ(static_cast<int16_t>(CALL(dll, sverify, cxw::Slots() << "NONE.DAT")), 0);
  // A failed read reports and zeroes, and still balances the stack.
  back[0] = 7;
  CHECK_EQ(static_cast<int16_t>(CALL(dll, sleer, cxw::Slots() << h << back << 99 << 8)), -1);
  CHECK_EQ(back[0], 0u);
  _close(h);
  CX_BIND(dll, cx_set_message_callback)(nullptr, nullptr);
}

CASE(Stdcall, TypedPointersStayBalancedOverManyCalls) {
  EngineDll dll;
  REQUIRE(dll.module() != nullptr);
  auto set_video = CX_BIND(dll, set_video);
  auto get_video = CX_BIND(dll, get_video);
  auto hi = CX_BIND(dll, hi_word);
  auto lo = CX_BIND(dll, lo_word);
  REQUIRE(set_video && get_video && hi && lo);
  int wrong = 0;
  for (int i = 0; i < 20000; ++i) {
    set_video(i, 0, i + 500.0, 500.0);
    double a, b, c, d;
    get_video(&a, &b, &c, &d);
    if (a != i || c != i + 500.0 || hi(i << 16) != (i & 0xFFFF) || lo(i) != static_cast<int16_t>(i))
      ++wrong;
  }
  CHECK_EQ(wrong, 0);
}

// ----------------------------------------------- records under the 32-bit ABI

// A packed record made by hand, little-endian field by field.
struct Packed {
  unsigned char bytes[64] = {};
  std::size_t size = 0;

  Packed& u8(unsigned v) {
    bytes[size++] = static_cast<unsigned char>(v);
    return *this;
  }
  Packed& i16(int16_t v) {
    return u8(static_cast<uint16_t>(v) & 0xFF).u8(static_cast<uint16_t>(v) >> 8);
  }
  Packed& i32(int32_t v) {
    for (int i = 0; i < 4; ++i) u8((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return *this;
  }
  Packed& f64(double v) {
    uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) u8(static_cast<unsigned>(u >> (8 * i)) & 0xFF);
    return *this;
  }
  Packed& text(const char* t, int n) {
    for (int i = 0; i < n; ++i) u8(static_cast<unsigned char>(t[i]));
    return *this;
  }
};

CASE(Records, HeadersAndFieldsAreLittleEndianOnDisk) {
  cxw::ScratchDir dir;
  EngineDll dll;
  auto sescribir = CX_BIND(dll, sescribir);
  auto sleer = CX_BIND(dll, sleer);
  REQUIRE(sescribir && sleer);
  const int h = open_record_file("HDR.DAT");
  REQUIRE(h >= 0);
  // A header naming record 0x01020304 as the last handed out.
  const unsigned char header[8] = {0x04, 0x03, 0x02, 0x01, 0, 0, 0, 0};
  CHECK_EQ(sescribir(static_cast<int16_t>(h), header, 0, 8), 0);
  int32_t last = 0;
  CHECK_EQ(sleer(static_cast<int16_t>(h), &last, 0, 4), 0);
  CHECK_EQ(last, 0x01020304);
  // What the engine writes reads the same way from the disk.
  const int32_t count = 70000;
  CHECK_EQ(sescribir(static_cast<int16_t>(h), &count, 1, 4), 0);
  _close(h);
  const Bytes disk = file_bytes("HDR.DAT");
  REQUIRE(disk.size() == 8);
  CHECK(disk[4] == 0x70 && disk[5] == 0x11 && disk[6] == 0x01 && disk[7] == 0x00);
}

template <typename T>
T garbage() {
  T rec;
  std::memset(&rec, 0xCC, sizeof rec);
  return rec;
}

// Writes `host` as record 1 with `writer`, compares the packed bytes on disk
// with `expected`, reads it back with `reader`.
template <typename T, typename W, typename R>
T round_trip(W* writer, R* reader, const T& host, const Packed& expected) {
  T back = garbage<T>();
  if (!writer || !reader) return back;
  const int size = static_cast<int>(expected.size);
  const int h = open_record_file("TYPED.DAT");
  if (h < 0) return back;
  CHECK_EQ(writer(static_cast<int16_t>(h), &host, 1, static_cast<int16_t>(size)), 0);
  _commit(h);
  const Bytes disk = file_bytes("TYPED.DAT");
  CHECK_EQ(disk.size(), 2u * size);
  if (disk.size() == 2u * size) CHECK(std::memcmp(disk.data() + size, expected.bytes, size) == 0);
  CHECK_EQ(reader(static_cast<int16_t>(h), &back, 1, 0), 0);
  _close(h);
  return back;
}

CASE(Records, PointObjectAndCodedAreaKeepTheir32BitHostLayouts) {
  cxw::ScratchDir dir;
  EngineDll dll;
  CHECK_EQ(sizeof(cx_object), 36u);
  CHECK_EQ(offsetof(cx_object, x), 4u);
  CHECK_EQ(offsetof(cx_object, area), 32u);
  auto obj = garbage<cx_object>();
  obj.kind = 513;
  obj.layer = 7;
  obj.x = 1234.5;
  obj.y = -0.25;
  obj.rotation = -900;
  obj.block = 2408;
  obj.count = 3;
  obj.area = 70000;
  Packed disk;
  disk.i16(513);
  disk.u8(7);
  disk.f64(1234.5);
  disk.f64(-0.25);
  disk.i16(-900);
  disk.i32(2408);
  disk.i16(3);
  disk.i32(70000);
  const cx_object o = round_trip(CX_BIND(dll, sescribir_obj), CX_BIND(dll, sleer_obj), obj, disk);
  CHECK(o.kind == 513 && o.layer == 7 && o.x == 1234.5 && o.y == -0.25);
  CHECK(o.rotation == -900 && o.block == 2408 && o.count == 3 && o.area == 70000);
  CHECK(o.pad3 == 0 && o.pad22 == 0 && o.pad30 == 0);

  CHECK_EQ(sizeof(cx_area), 30u);
  CHECK_EQ(offsetof(cx_area, object), 14u);
  auto area = garbage<cx_area>();
  std::memcpy(area.code, "03ABCDEFGHIJK", 13);
  area.object = 65537;
  area.value[0] = -1;
  area.value[1] = 2;
  area.value[2] = 0x7FFFFFFF;
  Packed packed;
  packed.text(area.code, 13);
  packed.i32(65537);
  packed.i32(-1);
  packed.i32(2);
  packed.i32(0x7FFFFFFF);
  const cx_area a = round_trip(CX_BIND(dll, sescribir_are), CX_BIND(dll, sleer_are), area, packed);
  CHECK(std::memcmp(a.code, "03ABCDEFGHIJK", 13) == 0 && a.pad13 == 0);
  CHECK(a.object == 65537 && a.value[0] == -1 && a.value[1] == 2 && a.value[2] == 0x7FFFFFFF);
}

CASE(Records, NetworkRecordsKeepTheir32BitHostLayouts) {
  cxw::ScratchDir dir;
  EngineDll dll;
  CHECK_EQ(sizeof(cx_node), 52u);
  CHECK_EQ(sizeof(cx_arc), 52u);
  CHECK_EQ(sizeof(cx_area_object), 56u);
  CHECK_EQ(offsetof(cx_arc, to_node), 44u);
  CHECK_EQ(offsetof(cx_area_object, first_desc), 52u);

  auto node = garbage<cx_node>();
  node.code_prefix = 4;
  std::memcpy(node.code, "0123456789", 10);
  node.kind = 12;
  node.state = 1;
  node.x = 10.0;
  node.y = 20.0;
  node.rotation = 5;
  node.block = 0;
  node.count = 0;
  node.area = 3;
  node.first_list = 77;
  Packed nd;
  nd.u8(4);
  nd.text(node.code, 10);
  nd.i16(12);
  nd.u8(1);
  nd.f64(10.0);
  nd.f64(20.0);
  nd.i16(5);
  nd.i32(0);
  nd.i16(0);
  nd.i32(3);
  nd.i32(77);
  CHECK_EQ(nd.size, 46u);
  const cx_node n = round_trip(CX_BIND(dll, sescribir_nod), CX_BIND(dll, sleer_nod), node, nd);
  CHECK(n.code_prefix == 4 && std::memcmp(n.code, "0123456789", 10) == 0 && n.pad11 == 0);
  CHECK(n.kind == 12 && n.state == 1 && n.x == 10.0 && n.y == 20.0 && n.first_list == 77);

  auto arc = garbage<cx_arc>();
  arc.kind = 2;
  arc.state = 0;
  arc.xmin = -5.5;
  arc.ymin = 6.25;
  arc.width = 1;
  arc.block = 4816;
  arc.count = 2;
  arc.first_desc = 0;
  arc.from_node = 100000;
  arc.from_flag = 1;
  arc.to_node = 100001;
  arc.to_flag = 2;
  Packed ac;
  ac.i16(2);
  ac.u8(0);
  ac.f64(-5.5);
  ac.f64(6.25);
  ac.i16(1);
  ac.i32(4816);
  ac.i16(2);
  ac.i32(0);
  ac.i32(100000);
  ac.u8(1);
  ac.i32(100001);
  ac.u8(2);
  CHECK_EQ(ac.size, 41u);
  const cx_arc r = round_trip(CX_BIND(dll, sescribir_arc), CX_BIND(dll, sleer_arc), arc, ac);
  CHECK(r.kind == 2 && r.xmin == -5.5 && r.ymin == 6.25 && r.width == 1 && r.block == 4816);
  CHECK(r.from_node == 100000 && r.from_flag == 1 && r.to_node == 100001 && r.to_flag == 2);
  CHECK(r.pad41[0] == 0 && r.pad49[2] == 0);

  auto top = garbage<cx_area_object>();
  std::memcpy(top.code, "05AREA0000001", 13);
  top.kind = 40;
  top.state = 3;
  top.x = 1e6;
  top.y = -1e6;
  top.rotation = 0;
  top.block = 0;
  top.count = 0;
  top.area = 9;
  top.first_desc = 11;
  Packed tp;
  tp.text(top.code, 13);
  tp.i16(40);
  tp.u8(3);
  tp.f64(1e6);
  tp.f64(-1e6);
  tp.i16(0);
  tp.i32(0);
  tp.i16(0);
  tp.i32(9);
  tp.i32(11);
  CHECK_EQ(tp.size, 48u);
  const cx_area_object t =
      round_trip(CX_BIND(dll, sescribir_top), CX_BIND(dll, sleer_top), top, tp);
  CHECK(std::memcmp(t.code, "05AREA0000001", 13) == 0 && t.pad13[0] == 0);
  CHECK(t.kind == 40 && t.state == 3 && t.x == 1e6 && t.y == -1e6 && t.area == 9);
  CHECK_EQ(t.first_desc, 11);
}

// ------------------------------------------------------- messages and pumping

const char* kCaption = "Mensaje de Cartex_win";

HWND host_window(WNDPROC procedure = DefWindowProcA) {
  WNDCLASSA kind{};
  kind.lpfnWndProc = procedure;
  kind.hInstance = GetModuleHandleA(nullptr);
  static int serial = 0;
  const std::string name = "cxw_host_" + std::to_string(++serial);
  kind.lpszClassName = name.c_str();
  RegisterClassA(&kind);
  return CreateWindowA(name.c_str(), "host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                       kind.hInstance, nullptr);
}

CASE(Messages, AFailureShowsAnErrorBoxOwnedByTheHostWindow) {
  EngineDll dll;
  auto set_hwnd = CX_BIND(dll, set_Hwnd);
  auto sleer = CX_BIND(dll, sleer);
  REQUIRE(set_hwnd && sleer);
  HWND host = host_window();
  REQUIRE(host != nullptr);
  set_hwnd(static_cast<int32_t>(reinterpret_cast<intptr_t>(host)));
  cxw::BoxAnswerer answerer(IDOK);
  char buffer[8];
  CHECK_EQ(sleer(30, buffer, 5, 8), -1);
  CHECK_EQ(answerer.seen().count, 1);
  CHECK(answerer.seen().owner == host);
  CHECK_EQ(answerer.seen().caption, std::string(kCaption));
  CHECK_EQ(answerer.seen().text.rfind("LEER: Error en reg. 5 en", 0), 0u);
  CHECK(answerer.seen().icon != nullptr && answerer.seen().icon == LoadIconA(nullptr, IDI_HAND));
  DestroyWindow(host);
}

CASE(Messages, ABoxWhoseOwnerIsGoneIsStillShown) {
  EngineDll dll;
  auto set_hwnd = CX_BIND(dll, set_Hwnd);
  auto sleer = CX_BIND(dll, sleer);
  REQUIRE(set_hwnd && sleer);
  HWND host = host_window();
  set_hwnd(static_cast<int32_t>(reinterpret_cast<intptr_t>(host)));
  DestroyWindow(host);
  cxw::BoxAnswerer answerer(IDOK);
  char buffer[8];
  CHECK_EQ(sleer(31, buffer, 1, 8), -1);
  CHECK_EQ(answerer.seen().count, 1);
  CHECK(answerer.seen().owner == nullptr);
  CHECK_EQ(answerer.seen().caption, std::string(kCaption));
}

struct Captured {
  int calls = 0;
  int32_t owner = 0;
  std::string caption, text;
  int32_t style = -1;
};

int32_t CX_CALL capture(void* user, int32_t owner, const char* caption, const char* text,
                        int32_t style) {
  auto* c = static_cast<Captured*>(user);
  ++c->calls;
  c->owner = owner;
  c->caption = caption;
  c->text = text;
  c->style = style;
  return CX_IDOK;
}

CASE(Messages, AStdcallHostCallbackTakesOverUntilItIsRemoved) {
  EngineDll dll;
  auto set_hwnd = CX_BIND(dll, set_Hwnd);
  auto sleer = CX_BIND(dll, sleer);
  auto set_callback = CX_BIND(dll, cx_set_message_callback);
  REQUIRE(set_hwnd && sleer && set_callback);
  set_hwnd(4242);
  Captured captured;
  CHECK_EQ(set_callback(capture, &captured), -1);
  cxw::BoxAnswerer answerer(IDOK);
  char buffer[8];
  for (int i = 0; i < 100; ++i) sleer(32, buffer, i, 8);
  CHECK_EQ(captured.calls, 100);
  CHECK_EQ(captured.owner, 4242);
  CHECK_EQ(captured.caption, std::string(kCaption));
  CHECK_EQ(captured.text.rfind("LEER: Error en reg. 99 en", 0), 0u);
  CHECK_EQ(captured.style, CX_MB_OK | CX_MB_ICONSTOP);
  CHECK_EQ(answerer.seen().count, 0);
  // Without the callback the box is back (4242 is no window: unowned).
  set_callback(nullptr, nullptr);
  sleer(32, buffer, 1, 8);
  CHECK_EQ(captured.calls, 100);
  CHECK_EQ(answerer.seen().count, 1);
  set_hwnd(0);
}

constexpr UINT kPing = WM_APP + 1;
int pings = 0;

LRESULT CALLBACK counting_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == kPing) {
    ++pings;
    return 0;
  }
  return DefWindowProcA(window, message, w, l);
}

bool quit_waiting(WPARAM* code) {
  MSG message;
  if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
  *code = message.wParam;
  return true;
}

CASE(Pump, ARedrawDispatchesTheHostWindowsMessagesAndLeavesQuitForTheHost) {
  EngineDll dll;
  auto set_hwnd = CX_BIND(dll, set_Hwnd);
  auto dmoven = CX_BIND(dll, dmoven);
  REQUIRE(set_hwnd && dmoven);
  HWND host = host_window(counting_procedure);
  REQUIRE(host != nullptr);
  set_hwnd(static_cast<int32_t>(reinterpret_cast<intptr_t>(host)));
  pings = 0;
  for (int i = 0; i < 3; ++i) PostMessageA(host, kPing, 0, 0);
  dmoven(0);
  CHECK_EQ(pings, 3);
  // A quit request met while pumping is left for the host's own loop.
  PostQuitMessage(7);
  dmoven(0);
  WPARAM code = 0;
  CHECK(quit_waiting(&code));
  CHECK_EQ(code, 7u);
  set_hwnd(0);
  DestroyWindow(host);
}

void CX_CALL count_pump(void* user) {
  ++*static_cast<int*>(user);
}

CASE(Pump, AHostPumpReplacesTheSystemOne) {
  EngineDll dll;
  auto set_hwnd = CX_BIND(dll, set_Hwnd);
  auto dmoven = CX_BIND(dll, dmoven);
  auto set_pump = CX_BIND(dll, cx_set_pump_callback);
  REQUIRE(set_hwnd && dmoven && set_pump);
  HWND host = host_window(counting_procedure);
  set_hwnd(static_cast<int32_t>(reinterpret_cast<intptr_t>(host)));
  int pumped = 0;
  CHECK_EQ(set_pump(count_pump, &pumped), -1);
  pings = 0;
  PostMessageA(host, kPing, 0, 0);
  for (int i = 0; i < 50; ++i) dmoven(0);
  CHECK_EQ(pumped, 50);
  CHECK_EQ(pings, 0);
  set_pump(nullptr, nullptr);
  dmoven(0);
  CHECK_EQ(pumped, 50);
  CHECK_EQ(pings, 1);
  set_hwnd(0);
  DestroyWindow(host);
}

}  // namespace

int main(int argc, char** argv) {
  return cxw::run_cases(argc, argv);
}
