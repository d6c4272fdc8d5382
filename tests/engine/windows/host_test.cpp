// cartex32.dll as a 32-bit Windows host sees it: loaded with LoadLibraryA,
// every export bound by its plain name with GetProcAddress and called with
// the __stdcall prototypes of cartex32.h; the export table; the record
// layer's byte order and the host layouts under the 32-bit ABI; message
// boxes over the host window and the pumping of its messages.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "cartex32.h"
#include "stack_probe.h"
#include "support/engine_library.h"
#include "support/host_files.h"
#include "support/temp_base.h"

namespace {

using cx::testing::EngineLibrary;
using cx::testing::open_host_file;
using cx::testing::TempBase;
using Bytes = std::vector<unsigned char>;

HMODULE module_of(const EngineLibrary& dll) {
  return static_cast<HMODULE>(dll.native_handle());
}

// ---------------------------------------------------------------- loading

DWORD WINAPI five(void*) {
  return 5;
}

TEST(Load, OpensNoFilesAndIgnoresThreads) {
  TempBase dir;
  ASSERT_TRUE(GetModuleHandleA("cartex32.dll") == nullptr);
  {
    EngineLibrary dll;
    ASSERT_TRUE(dll.loaded()) << dll.load_error();
    EXPECT_EQ(dir.entries(), 0);
    // A thread started and ended while the library is loaded changes
    // nothing (the runtime's TLS callbacks see it; the library does not).
    HANDLE thread = CreateThread(nullptr, 0, five, nullptr, 0, nullptr);
    ASSERT_TRUE(thread != nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 5u);
    CloseHandle(thread);
  }
  EXPECT_TRUE(GetModuleHandleA("cartex32.dll") == nullptr);
  EXPECT_EQ(dir.entries(), 0);
  EngineLibrary again;
  EXPECT_TRUE(again.loaded());
}

// ---------------------------------------------------------------- exports

// That every name is in exports.txt is Exports.EveryExportedNameIsListed,
// built into this program from ../exports_test.cpp.
TEST(Exports, TheTableHoldsPlainNamesAndNoDecoratedOnes) {
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  const std::vector<std::string> exported = dll.exported_names();
  ASSERT_TRUE(std::find(exported.begin(), exported.end(), "paselong") != exported.end());
  for (const std::string& name : exported) {
    EXPECT_TRUE(name.find('@') == std::string::npos);
    // Neither form of a decorated stdcall name is there beside the plain one.
    for (int bytes = 0; bytes <= 128; bytes += 4) {
      const std::string decorated = name + "@" + std::to_string(bytes);
      EXPECT_EQ(GetProcAddress(module_of(dll), decorated.c_str()), nullptr);
      EXPECT_EQ(GetProcAddress(module_of(dll), ("_" + decorated).c_str()), nullptr);
    }
    // Each binds by name to code inside the DLL's own image.
    const auto address = reinterpret_cast<uintptr_t>(GetProcAddress(module_of(dll), name.c_str()));
    MEMORY_BASIC_INFORMATION where{};
    VirtualQuery(reinterpret_cast<void*>(address), &where, sizeof where);
    EXPECT_TRUE(where.AllocationBase == module_of(dll));
  }
}

TEST(Exports, EveryDeclaredFunctionBindsByItsPlainName) {
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
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
      BOUND(init_base_variables),
      BOUND(ins_external_var),
      BOUND(set_num_var),
      BOUND(set_alfa_var),
      BOUND(get_var_value),
      BOUND(clear_external_vars),
      BOUND(free_external_vars),
      BOUND(inspector),
      BOUND(parse),
      BOUND(evalue_sum),
      BOUND(evaluar),
      BOUND(set_formulas),
      BOUND(get_formulas),
      BOUND(hay_graf),
      BOUND(get_nvars),
      BOUND(get_varname),
      BOUND(get_value),
      BOUND(crear_dispositivo),
      BOUND(guardar_png),
      BOUND(copiar_pixeles),
      BOUND(liberar_dispositivo),
      BOUND(envolver_hdc),
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
      BOUND(gdtextam),
      BOUND(gatextam),
      BOUND(gdtxtesc),
      BOUND(gdtexang),
      BOUND(gdtxtvect),
      BOUND(gatxtvect),
      BOUND(gdtexto_negro),
      BOUND(gatexto_negro),
      BOUND(gtexto),
      BOUND(gsuper_texto),
      BOUND(gatext_extent),
      BOUND(gasuper_extent),
      BOUND(text),
      BOUND(gdicoesc),
      BOUND(gaicoesc_VB),
      BOUND(gicono),
      BOUND(gpicono),
      BOUND(simbdisplay),
      BOUND(init_converter),
      BOUND(set_origin),
      BOUND(set_target),
      BOUND(convert_latlon),
      BOUND(convlatlon),
      BOUND(newton),
      BOUND(gdigcal),
      BOUND(a_mundo),
      BOUND(a_digit),
      BOUND(crear_BG),
      BOUND(abra_t0),
      BOUND(cierre_t0),
      BOUND(reabra),
      BOUND(cierred),
      BOUND(get_red),
      BOUND(get_red_act),
      BOUND(xyinicie),
      BOUND(xynext),
      BOUND(xycalcxy),
      BOUND(grabe_t0),
      BOUND(grabe_t1),
      BOUND(grabe_nodo),
      BOUND(grabe_arco),
      BOUND(grabe_t3),
      BOUND(vea_topo01),
      BOUND(vea_nodo),
      BOUND(vea_arco),
      BOUND(vea_area),
      BOUND(redespliegue),
      BOUND(init_distancias_raster),
      BOUND(distancias_raster),
      BOUND(crear_arch_grid),
      BOUND(get_bmpinfo),
      BOUND(create_bmpal),
      BOUND(abra_atrs),
      BOUND(cierre_atrs),
      BOUND(lea_atribs),
      BOUND(index_dbf),
      BOUND(ascreindexar),
      BOUND(verify_dbase),
      BOUND(existe_codigo),
      BOUND(otrabase),
      BOUND(codigos),
      BOUND(veacod),
      BOUND(fatr_put),
      BOUND(fatr_dibuje),
      BOUND(veadat0),
      BOUND(veadat2),
      BOUND(veadat_t0),
      BOUND(hay_atr23),
      BOUND(scolor),
      BOUND(slinea),
      BOUND(stexto),
      BOUND(agregue_arco),
      BOUND(retire_arco),
      BOUND(cerradura),
      BOUND(topo_area),
      BOUND(area_calc),
      BOUND(long_calc),
      BOUND(set_inclusion),
      BOUND(esta_en),
      BOUND(esta_dentro),
      BOUND(busque_nodo),
      BOUND(del_nodo),
      BOUND(borre_arco),
      BOUND(borre_t3),
      BOUND(regrabe_arco),
      BOUND(resitue_t01),
      BOUND(nuevo_nodo),
      BOUND(dig_segment),
      BOUND(add_segments),
      BOUND(funde_nodos),
      BOUND(funde_arcos),
      BOUND(partir_arcos),
      BOUND(find_t02),
      BOUND(find_t03),
      BOUND(get_nodesT3),
      BOUND(get_arct3),
      BOUND(regrabe_nodo),
      BOUND(resitue_t3),
      BOUND(regrabe_poli),
      BOUND(regrabe_texto),
      BOUND(edit_co1),
      BOUND(edit_co3),
      BOUND(edit_nodot23),
      BOUND(del_t0),
      BOUND(del_t1),
      BOUND(del_capa),
      BOUND(del_tipo),
      BOUND(del_clase),
      BOUND(correctores),
      BOUND(esta_en_despl),
      BOUND(verifique_topologia),
      BOUND(gdachang),
      BOUND(gdachpaso),
      BOUND(gachurado),
      BOUND(achuraT3),
      BOUND(showconv),
      BOUND(guarde_stat),
      BOUND(cargue_stat),
      BOUND(guardespl),
      BOUND(carguedespl),
  };
#undef BOUND
  const std::vector<std::string> exported = dll.exported_names();
  // The DLL exports what the header declares, no less and no more.
  EXPECT_EQ(exported.size(), sizeof bound / sizeof bound[0]);
  std::set<const void*> distinct(std::begin(bound), std::end(bound));
  EXPECT_EQ(distinct.size(), sizeof bound / sizeof bound[0]);
}

// --------------------------------------------------------------- __stdcall

// Calls `function` through the probe `times` times with the same slots and
// checks that the callee removed exactly its arguments each time; returns
// the last result (EAX).
template <typename F>
uint32_t call_balanced(F* function, const cxw::Slots& slots, const char* name, int times = 200) {
  if (!function) return 0;
  if (cxw::slots_of(function) != slots.count)
    ADD_FAILURE() << (std::string(name) + ": the test passes the wrong slots");
  uint32_t result = 0;
  for (int i = 0; i < times; ++i) {
    const int32_t drift =
        cxw_call_slots(reinterpret_cast<const void*>(function), slots.words, slots.count, &result);
    if (drift != 0) {
      ADD_FAILURE() << (std::string(name) + " left the stack " + std::to_string(drift) +
                        " bytes off");
      break;
    }
  }
  return result;
}
#define CALL(dll, name, slots) call_balanced(CX_BIND(dll, name), slots, #name)

TEST(Stdcall, FrameExportsRemoveTheirOwnArguments) {
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  int32_t value = 0x01020304;
  int16_t half = 258;
  unsigned char out[4] = {};
  CALL(dll, paselong, cxw::Slots() << &value << out);
  EXPECT_TRUE(out[0] == 1 && out[1] == 2 && out[2] == 3 && out[3] == 4);
  CALL(dll, paseint, cxw::Slots() << &half << out);
  EXPECT_TRUE(out[0] == 1 && out[1] == 2);
  EXPECT_EQ(CALL(dll, hi_word, cxw::Slots() << -1), 65535u);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, lo_word, cxw::Slots() << 65535)), -1);
  char from[] = "abcd", to[8] = {};
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, mueva, cxw::Slots() << from << to << 4)), -1);
  EXPECT_EQ(std::string(to), "abcd");
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, set_Hwnd, cxw::Slots() << 0)), -1);
  CALL(dll, terminar, cxw::Slots() << 0);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, activar_cartex, cxw::Slots() << 0)), -1);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, cartex_activo, cxw::Slots() << 0)), -1);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, desactivar_cartex, cxw::Slots() << 0)), 0);
  CALL(dll, Init_Adress, cxw::Slots());
  CALL(dll, Set_Adress, cxw::Slots() << "cl. 45 # 12-34");
  char token[256] = "";
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, Get_Dir_Token, cxw::Slots() << 1 << token)), 3);
  EXPECT_EQ(std::string(token), "CL.");
}

TEST(Stdcall, DoubleArgumentsTakeTwoSlotsEach) {
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  CALL(dll, initst, cxw::Slots() << 0);
  CALL(dll, set_video, cxw::Slots() << 100.0 << 200.0 << 1100.0 << 1200.0);
  double v[4] = {};
  CALL(dll, get_video, cxw::Slots() << &v[0] << &v[1] << &v[2] << &v[3]);
  EXPECT_EQ(v[0], 100.0);
  EXPECT_EQ(v[1], 200.0);
  EXPECT_EQ(v[2], 1100.0);
  EXPECT_EQ(v[3], 1200.0);
  CALL(dll, set_grid, cxw::Slots() << 1 << 1.5 << 2.5 << 3.5 << 4.5 << 5.5);
  int16_t on = 0;
  double g[5] = {};
  CALL(dll, get_grid, cxw::Slots() << &on << &g[0] << &g[1] << &g[2] << &g[3] << &g[4]);
  EXPECT_EQ(on, 1);
  EXPECT_EQ(g[0], 1.5);
  EXPECT_EQ(g[4], 5.5);
  CALL(dll, set_workxy, cxw::Slots() << 10.0 << 20.0 << 30.0 << 40.0);
  double e[4] = {};
  EXPECT_EQ(static_cast<int16_t>(
                CALL(dll, get_work_extents, cxw::Slots() << &e[0] << &e[1] << &e[2] << &e[3])),
            3);
  EXPECT_EQ(e[0], 10.0);
  EXPECT_EQ(e[3], 40.0);
}

TEST(Stdcall, FormulaExportsRemoveTheirOwnArguments) {
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, init_base_variables, cxw::Slots())), -1);
  // Each CALL runs the export 200 times: these insert 200 variables and free them.
  EXPECT_TRUE(static_cast<int16_t>(CALL(dll, ins_external_var, cxw::Slots() << "x" << 2)) > 6);
  CALL(dll, free_external_vars, cxw::Slots());
  const int16_t n = CX_BIND(dll, ins_external_var)("x", 2);
  EXPECT_EQ(n, 6);
  CALL(dll, set_num_var, cxw::Slots() << n << 2.5);
  cx_var_value read{};
  CALL(dll, get_var_value, cxw::Slots() << n << &read);
  EXPECT_EQ(static_cast<double>(read.number), 2.5);
  CALL(dll, set_alfa_var, cxw::Slots() << n << "7");
  const auto code = CALL(dll, inspector, cxw::Slots() << "X*2");
  EXPECT_TRUE(code != 0);
  cx_valor_expr v{};
  CALL(dll, evalue_sum, cxw::Slots() << reinterpret_cast<const char*>(code) << &v);
  EXPECT_EQ(v.number, 14.0);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, evaluar, cxw::Slots() << "2^3" << &v)), 0);
  EXPECT_EQ(v.number, 8.0);
  char buffer[512] = "1+";
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, parse, cxw::Slots() << buffer)), 1);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, set_formulas,
                                      cxw::Slots() << "a"
                                                   << "b")),
            0);
  cx_formula_text one{}, two{};
  CALL(dll, get_formulas, cxw::Slots() << &one << &two);
  EXPECT_EQ(std::string(two.text), "b");
  cx_varname field{};
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, hay_graf, cxw::Slots() << 1)), 0);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, get_nvars, cxw::Slots() << 1)), 0);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, get_varname, cxw::Slots() << 1 << 1 << &field)), 0);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, get_value, cxw::Slots() << 1 << 1 << &read)), 0);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, clear_external_vars, cxw::Slots())), 0);
  CALL(dll, free_external_vars, cxw::Slots());
}

int32_t CX_CALL answer_ok(void*, int32_t, const char*, const char*, int32_t) {
  return CX_IDOK;
}

TEST(Stdcall, RecordExportsRemoveTheirOwnArguments) {
  TempBase dir;
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  CX_BIND(dll, cx_set_message_callback)(answer_ok, nullptr);
  const int h = open_host_file("REC.DAT");
  ASSERT_TRUE(h >= 0);
  uint32_t rec[2] = {0x11223344u, 0x55667788u};
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, sescribir, cxw::Slots() << h << rec << 1 << 8)), 0);
  uint32_t back[2] = {};
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, sleer, cxw::Slots() << h << back << 1 << 8)), 0);
  EXPECT_TRUE(back[0] == rec[0] && back[1] == rec[1]);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, lea_bytes, cxw::Slots() << h << 12 << back << 4)), 0);
  EXPECT_EQ(back[0], 0x55667788u);
  double xy[4] = {1, 2, 3, 4}, x[2] = {}, y[2] = {};
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, sescribir, cxw::Slots() << h << xy << 1 << 32)), 0);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, lea_coord, cxw::Slots() << h << 32 << x << y << 2)), 0);
  EXPECT_TRUE(x[0] == 1 && x[1] == 2 && y[0] == 3 && y[1] == 4);
  cx_object object{};
  object.kind = 9;
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, sescribir_obj, cxw::Slots() << h << &object << 2 << 31)),
            0);
  cx_object read{};
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, sleer_obj, cxw::Slots() << h << &read << 2 << 0)), 0);
  EXPECT_EQ(read.kind, 9);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, sverify, cxw::Slots() << "REC.DAT")), -1);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, sverify, cxw::Slots() << "NONE.DAT")), 0);
  // A failed read reports and zeroes, and still balances the stack.
  back[0] = 7;
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, sleer, cxw::Slots() << h << back << 99 << 8)), -1);
  EXPECT_EQ(back[0], 0u);
  _close(h);
  CX_BIND(dll, cx_set_message_callback)(nullptr, nullptr);
}

TEST(Stdcall, TypedPointersStayBalancedOverManyCalls) {
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  auto set_video = CX_BIND(dll, set_video);
  auto get_video = CX_BIND(dll, get_video);
  auto hi = CX_BIND(dll, hi_word);
  auto lo = CX_BIND(dll, lo_word);
  ASSERT_TRUE(set_video && get_video && hi && lo);
  int wrong = 0;
  for (int i = 0; i < 20000; ++i) {
    set_video(i, 0, i + 500.0, 500.0);
    double a, b, c, d;
    get_video(&a, &b, &c, &d);
    if (a != i || c != i + 500.0 || hi(i << 16) != (i & 0xFFFF) || lo(i) != static_cast<int16_t>(i))
      ++wrong;
  }
  EXPECT_EQ(wrong, 0);
}

TEST(Stdcall, TopologyExportsRemoveTheirOwnArguments) {
  TempBase dir;
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  unsigned char cursor[CX_XY_CURSOR_SIZE];
  EXPECT_EQ(static_cast<int16_t>(CALL(
                dll, xyinicie, cxw::Slots() << 0 << cursor << 2500 << 1.0 << 2.0 << 3.0 << 4.0)),
            0);
  const unsigned char key[13] = {0, 0, 0x09, 0xC4, 0, 0, 0, 0, 7, 0, 12, 0, 0};
  double x = 0, y = 0;
  int16_t layer = 0;
  CALL(dll, xycalcxy, cxw::Slots() << 0 << &x << &y << key << &layer);
  EXPECT_DOUBLE_EQ(x, 2501.2);
  EXPECT_EQ(y, 0.0);
  EXPECT_EQ(layer, 7);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, get_red_act, cxw::Slots() << 0)), 0);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, cierre_t0, cxw::Slots() << 0)), 0);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, cierred, cxw::Slots() << 1)), 0);
}

TEST(Stdcall, EditExportsRemoveTheirOwnArguments) {
  TempBase dir;
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  // Without a session: no limits, no network, no line; nothing is shown.
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, esta_en_despl, cxw::Slots() << 1.5 << -2.5)), 1);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, edit_nodot23, cxw::Slots() << 7)), 0);
  const double x[1] = {1}, y[1] = {2};
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, verifique_topologia, cxw::Slots() << 0 << x << y)), 0);
}

TEST(Stdcall, RasterExportsRemoveTheirOwnArguments) {
  TempBase dir;
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  CX_BIND(dll, cx_set_message_callback)(answer_ok, nullptr);
  const int32_t hdc = CX_BIND(dll, crear_dispositivo)(6, 3);
  EXPECT_EQ(static_cast<int32_t>(CALL(dll, init_distancias_raster, cxw::Slots() << 0)), 0);
  EXPECT_EQ(static_cast<int32_t>(
                CALL(dll, distancias_raster, cxw::Slots() << hdc << hdc << 6 << 3 << 2.0)),
            -1);
  EXPECT_TRUE(static_cast<int16_t>(CALL(dll, crear_arch_grid, cxw::Slots() << 2 << 0 << "g.dat")) >=
              0);
  int16_t w = 0;
  unsigned char work[1068];
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, get_bmpinfo, cxw::Slots() << "g.dat" << &w << &w << &w)),
            0);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, create_bmpal,
                                      cxw::Slots() << "g.dat"
                                                   << "p.bmp" << work)),
            0);
  CX_BIND(dll, liberar_dispositivo)(hdc);
  CX_BIND(dll, cx_set_message_callback)(nullptr, nullptr);
}

// ----------------------------------------------- records under the 32-bit ABI

TEST(Records, HeadersAndFieldsAreLittleEndianOnDisk) {
  TempBase dir;
  EngineLibrary dll;
  auto sescribir = CX_BIND(dll, sescribir);
  auto sleer = CX_BIND(dll, sleer);
  ASSERT_TRUE(sescribir && sleer);
  const int h = open_host_file("HDR.DAT");
  ASSERT_TRUE(h >= 0);
  // A header naming record 0x01020304 as the last handed out.
  const unsigned char header[8] = {0x04, 0x03, 0x02, 0x01, 0, 0, 0, 0};
  EXPECT_EQ(sescribir(static_cast<int16_t>(h), header, 0, 8), 0);
  int32_t last = 0;
  EXPECT_EQ(sleer(static_cast<int16_t>(h), &last, 0, 4), 0);
  EXPECT_EQ(last, 0x01020304);
  // What the engine writes reads the same way from the disk.
  const int32_t count = 70000;
  EXPECT_EQ(sescribir(static_cast<int16_t>(h), &count, 1, 4), 0);
  _close(h);
  const Bytes disk = TempBase::bytes("HDR.DAT");
  ASSERT_TRUE(disk.size() == 8);
  EXPECT_TRUE(disk[4] == 0x70 && disk[5] == 0x11 && disk[6] == 0x01 && disk[7] == 0x00);
}

// The host layouts under the 32-bit ABI; the round trips through the typed
// exports are in typed_records_host_test.cpp, built into this program.
TEST(Records, TopologyRecordsKeepTheir32BitHostLayouts) {
  EXPECT_EQ(sizeof(cx_object), 36u);
  EXPECT_EQ(offsetof(cx_object, x), 4u);
  EXPECT_EQ(offsetof(cx_object, area), 32u);
  EXPECT_EQ(sizeof(cx_area), 30u);
  EXPECT_EQ(offsetof(cx_area, object), 14u);
  EXPECT_EQ(sizeof(cx_node), 52u);
  EXPECT_EQ(sizeof(cx_arc), 52u);
  EXPECT_EQ(sizeof(cx_area_object), 56u);
  EXPECT_EQ(offsetof(cx_arc, to_node), 44u);
  EXPECT_EQ(offsetof(cx_area_object, first_desc), 52u);
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

TEST(Messages, AFailureShowsAnErrorBoxOwnedByTheHostWindow) {
  EngineLibrary dll;
  auto set_hwnd = CX_BIND(dll, set_Hwnd);
  auto sleer = CX_BIND(dll, sleer);
  ASSERT_TRUE(set_hwnd && sleer);
  HWND host = host_window();
  ASSERT_TRUE(host != nullptr);
  set_hwnd(static_cast<int32_t>(reinterpret_cast<intptr_t>(host)));
  cxw::BoxAnswerer answerer(IDOK);
  char buffer[8];
  EXPECT_EQ(sleer(30, buffer, 5, 8), -1);
  EXPECT_EQ(answerer.seen().count, 1);
  EXPECT_TRUE(answerer.seen().owner == host);
  EXPECT_EQ(answerer.seen().caption, std::string(kCaption));
  EXPECT_EQ(answerer.seen().text.rfind("LEER: Error en reg. 5 en", 0), 0u);
  EXPECT_TRUE(answerer.seen().icon != nullptr &&
              answerer.seen().icon == LoadIconA(nullptr, IDI_HAND));
  DestroyWindow(host);
}

TEST(Messages, ABoxWhoseOwnerIsGoneIsStillShown) {
  EngineLibrary dll;
  auto set_hwnd = CX_BIND(dll, set_Hwnd);
  auto sleer = CX_BIND(dll, sleer);
  ASSERT_TRUE(set_hwnd && sleer);
  HWND host = host_window();
  set_hwnd(static_cast<int32_t>(reinterpret_cast<intptr_t>(host)));
  DestroyWindow(host);
  cxw::BoxAnswerer answerer(IDOK);
  char buffer[8];
  EXPECT_EQ(sleer(31, buffer, 1, 8), -1);
  EXPECT_EQ(answerer.seen().count, 1);
  EXPECT_TRUE(answerer.seen().owner == nullptr);
  EXPECT_EQ(answerer.seen().caption, std::string(kCaption));
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

TEST(Messages, AStdcallHostCallbackTakesOverUntilItIsRemoved) {
  EngineLibrary dll;
  auto set_hwnd = CX_BIND(dll, set_Hwnd);
  auto sleer = CX_BIND(dll, sleer);
  auto set_callback = CX_BIND(dll, cx_set_message_callback);
  ASSERT_TRUE(set_hwnd && sleer && set_callback);
  set_hwnd(4242);
  Captured captured;
  EXPECT_EQ(set_callback(capture, &captured), -1);
  cxw::BoxAnswerer answerer(IDOK);
  char buffer[8];
  for (int i = 0; i < 100; ++i) sleer(32, buffer, i, 8);
  EXPECT_EQ(captured.calls, 100);
  EXPECT_EQ(captured.owner, 4242);
  EXPECT_EQ(captured.caption, std::string(kCaption));
  EXPECT_EQ(captured.text.rfind("LEER: Error en reg. 99 en", 0), 0u);
  EXPECT_EQ(captured.style, CX_MB_OK | CX_MB_ICONSTOP);
  EXPECT_EQ(answerer.seen().count, 0);
  // Without the callback the box is back (4242 is no window: unowned).
  set_callback(nullptr, nullptr);
  sleer(32, buffer, 1, 8);
  EXPECT_EQ(captured.calls, 100);
  EXPECT_EQ(answerer.seen().count, 1);
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

TEST(Pump, ARedrawDispatchesTheHostWindowsMessagesAndLeavesQuitForTheHost) {
  EngineLibrary dll;
  auto set_hwnd = CX_BIND(dll, set_Hwnd);
  auto dmoven = CX_BIND(dll, dmoven);
  ASSERT_TRUE(set_hwnd && dmoven);
  HWND host = host_window(counting_procedure);
  ASSERT_TRUE(host != nullptr);
  set_hwnd(static_cast<int32_t>(reinterpret_cast<intptr_t>(host)));
  pings = 0;
  for (int i = 0; i < 3; ++i) PostMessageA(host, kPing, 0, 0);
  dmoven(0);
  EXPECT_EQ(pings, 3);
  // A quit request met while pumping is left for the host's own loop.
  PostQuitMessage(7);
  dmoven(0);
  WPARAM code = 0;
  EXPECT_TRUE(quit_waiting(&code));
  EXPECT_EQ(code, 7u);
  set_hwnd(0);
  DestroyWindow(host);
}

void CX_CALL count_pump(void* user) {
  ++*static_cast<int*>(user);
}

TEST(Pump, AHostPumpReplacesTheSystemOne) {
  EngineLibrary dll;
  auto set_hwnd = CX_BIND(dll, set_Hwnd);
  auto dmoven = CX_BIND(dll, dmoven);
  auto set_pump = CX_BIND(dll, cx_set_pump_callback);
  ASSERT_TRUE(set_hwnd && dmoven && set_pump);
  HWND host = host_window(counting_procedure);
  set_hwnd(static_cast<int32_t>(reinterpret_cast<intptr_t>(host)));
  int pumped = 0;
  EXPECT_EQ(set_pump(count_pump, &pumped), -1);
  pings = 0;
  PostMessageA(host, kPing, 0, 0);
  for (int i = 0; i < 50; ++i) dmoven(0);
  EXPECT_EQ(pumped, 50);
  EXPECT_EQ(pings, 0);
  set_pump(nullptr, nullptr);
  dmoven(0);
  EXPECT_EQ(pumped, 50);
  EXPECT_EQ(pings, 1);
  set_hwnd(0);
  DestroyWindow(host);
}

// ---------------------------------------------------------------- graphics

// The graphics exports remove their own arguments (doubles take two slots,
// Integers one), and a device made through the DLL is drawn on and read
// back. This build has no PNG support: guardar_png refuses with a message.
int32_t CX_CALL count_message(void* user, int32_t, const char*, const char*, int32_t) {
  ++*static_cast<int*>(user);
  return CX_IDOK;
}

TEST(Graphics, ExportsRemoveTheirOwnArguments) {
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  const int32_t hdc = CX_BIND(dll, crear_dispositivo)(64, 48);
  ASSERT_TRUE(hdc > 0);
  double d = 0, xs[3] = {1, 20, 40}, ys[3] = {1, 30, 2};
  int16_t a = 0, b = 0, c = 0, e = 0;
  CALL(dll, gabrest, cxw::Slots() << 0 << 0 << 64 << 48 << hdc);
  CALL(dll, vb_sethdcxy, cxw::Slots() << hdc << 0 << 0 << 64 << 48);
  CALL(dll, gdmundo, cxw::Slots() << 1 << 0.0 << 0.0 << 100.0 << 50.0);
  CALL(dll, gamundo, cxw::Slots() << 1 << &d << &d << &d << &d);
  CALL(dll, gdvista, cxw::Slots() << 1 << 0 << 0 << 64 << 48);
  CALL(dll, gavista, cxw::Slots() << 1 << &a << &b << &c << &e);
  CALL(dll, gdrecorte, cxw::Slots() << 1 << 0 << 0 << 64 << 48);
  CALL(dll, gdescala, cxw::Slots() << 1.0 << 1.0);
  CALL(dll, gaescala, cxw::Slots() << &d << &d);
  CALL(dll, gxdev, cxw::Slots() << 3.5);
  CALL(dll, grota, cxw::Slots() << 1.0 << 2.0 << 0.5 << 0.5 << &d << &d);
  CALL(dll, grota_i, cxw::Slots() << 10 << 20 << 1000 << 2000 << &a << &b);
  CALL(dll, int_rota, cxw::Slots() << 10 << 20 << 0.5 << &a << &b);
  CALL(dll, calc_ang, cxw::Slots() << 0.0 << 0.0 << 1.0 << 1.0 << &d);
  CALL(dll, set_win_cliparea, cxw::Slots() << 1 << 2 << 3 << 4);
  CALL(dll, gdcolor, cxw::Slots() << 300);
  CALL(dll, gsetcolor, cxw::Slots() << 200 << 0x123456);
  CALL(dll, getRGB, cxw::Slots() << 0x123456 << &a << &b << &c);
  CALL(dll, gdlintip, cxw::Slots() << 3);
  CALL(dll, gdlinanch, cxw::Slots() << 3);
  CALL(dll, gplinea, cxw::Slots() << xs << ys << 3);
  CALL(dll, glinea, cxw::Slots() << 1.0 << 2.0 << 30.0 << 40.0);
  CALL(dll, glineaint, cxw::Slots() << 1 << 2 << 30 << 40);
  CALL(dll, gapunto, cxw::Slots() << 1 << 1 << hdc);
  CALL(dll, gcaja, cxw::Slots() << 1.0 << 2.0 << 30.0 << 40.0);
  CALL(dll, gcirculo, cxw::Slots() << 10.0 << 10.0 << 5.0);
  CALL(dll, gelipse, cxw::Slots() << 10.0 << 10.0 << 0.0 << 0.0 << 5.0 << 3.0);
  CALL(dll, garco3, cxw::Slots() << 0.0 << 0.0 << 1.0 << 1.0 << 2.0 << 0.0);
  e = 0;
  CALL(dll, distancia_poli, cxw::Slots() << xs << ys << 3 << 5.0 << 5.0 << &d << &e);
  EXPECT_EQ(CX_BIND(dll, liberar_dispositivo)(hdc), 0);
}

TEST(Graphics, DrawsOnItsOwnDevice) {
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  int shown = 0;
  CX_BIND(dll, cx_set_message_callback)(count_message, &shown);
  const int32_t hdc = CX_BIND(dll, crear_dispositivo)(8, 4);
  ASSERT_TRUE(hdc > 0);
  CX_BIND(dll, gabrest)(0, 0, 8, 4, hdc);
  CX_BIND(dll, gdcolor)(12);
  CX_BIND(dll, gdlinanch)(1);
  CX_BIND(dll, glinea)(1, 2, 6, 2);  // row 4 - 2 = 2, pixels 1..5
  std::vector<uint8_t> rgbx(8 * 4 * 4);
  EXPECT_EQ(CX_BIND(dll, copiar_pixeles)(hdc, rgbx.data()), 0);
  std::string row;
  for (int x = 0; x < 8; ++x) row += rgbx[(2 * 8 + x) * 4 + 2] == 0 ? 'r' : '.';
  EXPECT_EQ(row, std::string(".rrrrr.."));
  EXPECT_EQ(CX_BIND(dll, gapunto)(1, 2, hdc), 0x0000FF);
  EXPECT_EQ(CX_BIND(dll, guardar_png)(hdc, "never.png"), -1);
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(GetFileAttributesA("never.png") == INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(CX_BIND(dll, liberar_dispositivo)(hdc), 0);
  CX_BIND(dll, cx_set_message_callback)(nullptr, nullptr);
}

// The text and symbol exports remove their own arguments. This build has no
// font library: text in the device's faces measures 0 x 0.
TEST(Graphics, TextExportsRemoveTheirOwnArgumentsAndMeasureNoFaces) {
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  const int32_t hdc = CX_BIND(dll, crear_dispositivo)(64, 48);
  ASSERT_TRUE(hdc > 0);
  CX_BIND(dll, gabrest)(0, 0, 64, 48, hdc);
  double d = 0, xs[2] = {1, 20}, ys[2] = {1, 30};
  int16_t w = -1, h = -1;
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, gdtextam, cxw::Slots() << 13)), 3);
  CALL(dll, gatextam, cxw::Slots());
  CALL(dll, gdtxtesc, cxw::Slots() << 10.0);
  CALL(dll, gdtexang, cxw::Slots() << 0.5);
  CALL(dll, gdtxtvect, cxw::Slots() << 0);
  CALL(dll, gatxtvect, cxw::Slots());
  CALL(dll, gdtexto_negro, cxw::Slots() << 1);
  CALL(dll, gatexto_negro, cxw::Slots());
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, gtexto, cxw::Slots() << 5.0 << 20.0 << "Rio")), 12);
  CALL(dll, gsuper_texto,
       cxw::Slots() << 5.0 << 20.0 << 0.5 << 10.0 << 0x0000FF << 1 << 0 << "Arial"
                    << "Rio");
  CALL(dll, gatext_extent, cxw::Slots() << "Rio" << &w << &h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  CALL(dll, gasuper_extent, cxw::Slots() << "Rio" << 10.0 << 1 << 0 << "Arial" << &w << &h);
  CALL(dll, text, cxw::Slots() << 1 << 0 << 0 << "estado");
  CALL(dll, gdicoesc, cxw::Slots() << 10.0);
  CALL(dll, gaicoesc_VB, cxw::Slots() << &d);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, gicono, cxw::Slots() << 0 << 5.0 << 5.0)), 1);
  CALL(dll, gpicono, cxw::Slots() << 0 << xs << ys << 2);
  CALL(dll, simbdisplay, cxw::Slots() << 0 << 15);
  EXPECT_EQ(CX_BIND(dll, liberar_dispositivo)(hdc), 0);
}

// ---------------------------------------------------------------- geodesy

// Each grid and tablet export removes its own arguments (six doubles for
// convlatlon), and the x87 build still maps the origin exactly and inverts
// the series.
TEST(Geodesy, ExportsRemoveTheirArgumentsAndConvert) {
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  double a = 0, b = 0, xd[2] = {0, 10}, yd[2] = {0, 0}, xw[2] = {1000, 1000}, yw[2] = {2000, 2100};
  CALL(dll, init_converter, cxw::Slots() << 3);
  CALL(dll, set_origin, cxw::Slots() << 4.0 << 35.0 << 56.57 << 74.0 << 4.0 << 51.3);
  CALL(dll, set_target, cxw::Slots() << 1000000.0 << 1000000.0);
  CALL(dll, convert_latlon, cxw::Slots() << 5.0 << 75.0 << &a << &b);
  CALL(dll, convlatlon, cxw::Slots() << 5.0 << 0.0 << 0.0 << 75.0 << 0.0 << 0.0 << &a << &b);
  CALL(dll, newton, cxw::Slots() << 990000.0 << 1010000.0 << &a << &b);
  CALL(dll, gdigcal, cxw::Slots() << 2 << xd << yd << xw << yw);
  CALL(dll, a_mundo, cxw::Slots() << 1.0 << 2.0 << &a << &b);
  CALL(dll, a_digit, cxw::Slots() << 1.0 << 2.0 << &a << &b);

  auto* forward = CX_BIND(dll, convert_latlon);
  auto* inverse = CX_BIND(dll, newton);
  ASSERT_TRUE(forward && inverse);
  CX_BIND(dll, init_converter)(0);
  forward(4.599047222, 74.08091666666667, &a, &b);
  EXPECT_EQ(a, 1000000.0);
  EXPECT_EQ(b, 1000000.0);
  forward(6.25, 75.5, &a, &b);
  EXPECT_TRUE(inverse(a, b, &a, &b) < 25);
  EXPECT_TRUE(std::fabs(a - 6.25) < 1e-9 && std::fabs(b - 75.5) < 1e-9);
}

// -------------------------------------------------------------- attributes

// A dBase table of one record gets its definition and index, and each
// attribute export removes its own arguments, on failure paths too.
TEST(Attributes, ExportsRemoveTheirArgumentsAndIndexADbf) {
  TempBase dir;
  EngineLibrary dll;
  ASSERT_TRUE(dll.loaded()) << dll.load_error();
  CX_BIND(dll, cx_set_message_callback)(answer_ok, nullptr);
  // Header of 65 bytes, one 3-byte column "cod", one record "ABC".
  std::vector<unsigned char> dbf(65, 0);
  dbf[0] = 3, dbf[4] = 1, dbf[8] = 65, dbf[10] = 4;
  std::memcpy(&dbf[32], "cod", 3);
  dbf[43] = 'C', dbf[48] = 3, dbf[64] = 0x0D;
  for (unsigned char c : {' ', 'A', 'B', 'C'}) dbf.push_back(c);
  TempBase::write("t.dbf", dbf);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, verify_dbase, cxw::Slots() << "t.dbf")), 0);
  EXPECT_EQ(TempBase::size("t.def"), 3u * 496u);
  cx_field_def key{};
  key.length = 3;
  int32_t counter = 0;
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, index_dbf, cxw::Slots() << "t" << &counter << &key)), 0);
  EXPECT_EQ(counter, 1);
  int32_t position = 0;
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, ascreindexar,
                                      cxw::Slots() << "none.txt"
                                                   << "none" << &position)),
            -1);
  const int16_t kind = 1;
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, lea_atribs, cxw::Slots() << 0 << &kind << "ABC")), 0);
  EXPECT_EQ(static_cast<int32_t>(CALL(dll, existe_codigo,
                                      cxw::Slots() << "12"
                                                   << "12")),
            12);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, otrabase, cxw::Slots() << "t" << 2 << "")), 0);
  double x = 0, y = 0, box[4] = {};
  CALL(dll, codigos, cxw::Slots() << "1" << &x << &y << box << 0);
  cx_object object{};
  const unsigned char code[10] = {};
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, veacod, cxw::Slots() << code << &object)), -1);
  EXPECT_EQ(
      static_cast<int16_t>(CALL(dll, fatr_put, cxw::Slots() << 1 << "A" << 1 << 1.0 << 2.0 << 0)),
      -1);
  EXPECT_EQ(
      static_cast<int16_t>(CALL(dll, fatr_dibuje, cxw::Slots() << 1 << "A" << 1.0 << 2.0 << 0)),
      -1);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, veadat0, cxw::Slots() << &object << "A")), -1);
  EXPECT_EQ(static_cast<int16_t>(CALL(dll, scolor, cxw::Slots() << &kind)), -1);
  CX_BIND(dll, cx_set_message_callback)(nullptr, nullptr);
}

}  // namespace
