// The session over the sample base: tables, settings, layer selection,
// parameters, limits, work area, legend, and the guards against numbers
// outside the tables and null pointers.
#include "session/session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "cartex32.h"
#include "expr/variables.h"
#include "frame/memory.h"
#include "support/recording_sink.h"
#include "support/temp_base.h"
#include "tools/sample_base.h"
#include "topology/topology_files.h"

namespace cx {
namespace {

using testing::RecordingSink;
using testing::TempBase;

class Session : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(escriba_base_ejemplo(), 0);
    ASSERT_EQ(inigks(0), 0);
  }
  void TearDown() override { end_cons(0); }
  TempBase base;
  RecordingSink sink;
};

TEST_F(Session, OpensWithTheBasesTablesAndRecordZeroDefaults) {
  EXPECT_EQ(sesion().layer_count, 4);
  EXPECT_EQ(sesion().kind_count, 5);
  cx_layer l;
  get_tcapas(kRios, &l);
  EXPECT_STREQ(l.name, "Rios");
  EXPECT_EQ(l.kind, 2);
  EXPECT_STREQ(l.network_prefix, "RIOS");
  get_tcapas(0, &l);
  EXPECT_STREQ(l.name, "");
  EXPECT_EQ(l.attributes[0], 8);
  cx_kind k;
  get_tobjetos(kNodo, &k);
  EXPECT_STREQ(k.name, "Nodo");
  EXPECT_EQ(k.colour, 12);
  EXPECT_EQ(sesion().kind_layers[kNodo], kRios);
  EXPECT_TRUE(sink.messages.empty());

  std::vector<std::string> names;
  for (const Variable& v : variables()) names.push_back(v.name);
  EXPECT_EQ(names, (std::vector<std::string>{"hoy", "secuencial", "area", "long", "codigo"}));
}

TEST_F(Session, NewSessionResetsSomeSettingsAndKeepsTheOthers) {
  for (int code = 1; code <= 23; ++code) set_consts(static_cast<int16_t>(code), 7);
  end_cons(0);
  ASSERT_EQ(inigks(0), 0);
  for (int code : {1, 5, 14, 15, 16, 18, 19}) EXPECT_EQ(get_consts(code), 0) << code;
  EXPECT_EQ(get_consts(6), 1);
  for (int code : {3, 4, 7, 8, 9, 10, 11, 12, 13, 20, 21, 22, 23})
    EXPECT_EQ(get_consts(code), 7) << code;
  EXPECT_EQ(get_consts(24), 0);
  EXPECT_EQ(get_consts(25), 0);
}

TEST_F(Session, CodesOutsideTheTableChangeNothing) {
  EXPECT_EQ(set_consts(26, 5), 5);
  EXPECT_EQ(get_consts(26), 0);
  EXPECT_EQ(set_consts(0, 5), 5);
  EXPECT_EQ(get_consts(0), 0);
  EXPECT_EQ(get_consts(-1), 0);
}

TEST_F(Session, ParametersDefaultFromTheBaseSize) {
  double p[10], p13;
  int16_t p10, p11, p12;
  get_params(&p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &p[7], &p[8], &p[9], &p10, &p11, &p12, &p13);
  EXPECT_EQ(std::vector<double>(p + 1, p + 10),
            (std::vector<double>{2.5, 1.25, 2.5, 5.0, 7.5, 2.5, 2.5, 10000.0, 2500.0}));
  EXPECT_EQ(p11, 1);  // world y grows upward
  EXPECT_EQ(p13, 0.0);

  const double v[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9}, tol = 0.5;
  const int16_t units = 2, ignored = 99;
  set_params(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &units, &ignored,
             &ignored, &tol);
  get_params(&p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &p[7], &p[8], &p[9], &p10, &p11, &p12, &p13);
  EXPECT_EQ(std::vector<double>(p + 1, p + 10), std::vector<double>(v, v + 9));
  EXPECT_EQ(p10, 2);
  EXPECT_EQ(get_consts(10), 2);  // the same storage
  EXPECT_EQ(p11, 1);             // read only
  EXPECT_EQ(p13, 0.5);

  set_params(&v[0], nullptr, &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &units, nullptr,
             nullptr, &tol);
  EXPECT_EQ(sink.texts(), std::vector<std::string>{"set_params: PUNTERO NULO"});
}

TEST_F(Session, GridSwitchIsSettingFourteen) {
  set_grid(1, 10, 20, 30, 40, 50);
  EXPECT_EQ(get_consts(14), 1);
  int16_t on;
  double g[5];
  get_grid(&on, &g[0], &g[1], &g[2], &g[3], &g[4]);
  EXPECT_EQ(on, 1);
  EXPECT_EQ(std::vector<double>(g, g + 5), (std::vector<double>{10, 20, 30, 40, 50}));
}

TEST_F(Session, SwitchesAndWholeRecords) {
  EXPECT_EQ(set_capas(kBarrios, 1), 1);
  EXPECT_EQ(get_capas(kBarrios), 1);
  EXPECT_EQ(set_objetos(kRotulo, 3), 3);
  EXPECT_EQ(get_objetos(kRotulo), 3);
  cx_kind k;
  get_tobjetos(kCalle, &k);
  k.layer = kTextos;
  set_tobjetos(kCalle, &k);
  cx_kind back;
  get_tobjetos(kCalle, &back);
  EXPECT_EQ(std::memcmp(&k, &back, sizeof k), 0);
  EXPECT_EQ(sesion().kind_layers[kCalle], kTextos);
}

TEST_F(Session, NumbersOutsideTheTablesAreRefused) {
  cx_layer l;
  std::memset(&l, 0x55, sizeof l);
  EXPECT_EQ(set_capas(5, 1), 0);
  EXPECT_EQ(get_capas(-1), 0);
  EXPECT_EQ(get_objetos(6), 0);
  EXPECT_EQ(set_objetos(10000, 1), 0);
  get_tcapas(300, &l);
  EXPECT_EQ(l.name[0], 0x55);  // untouched
  set_tcapas(1, nullptr);
  get_tobjetos(1, nullptr);
  EXPECT_EQ(set_consts(24, 5), 0);
  EXPECT_EQ(get_consts(24), 0);
  EXPECT_EQ(set_consts(25, 6), 0);
  EXPECT_EQ(set_consts(25, kBarrio), kBarrio);
  ASSERT_EQ(sink.messages.size(), 9u);
  EXPECT_EQ(sink.messages[0].text, "set_capas: CAPA 5 NO EXISTE (hay 4 capas)");
  EXPECT_EQ(sink.messages[2].text, "get_objetos: TIPO DE OBJETO 6 NO EXISTE (hay 5 tipos)");
  EXPECT_EQ(sink.messages[5].text, "set_tcapas: PUNTERO NULO");
}

TEST_F(Session, SelectingALayerOpensItsFiles) {
  EXPECT_EQ(set_consts(24, kCalles), kCalles);
  EXPECT_EQ(get_consts(24), kCalles);
  EXPECT_GE(archivos_t0().objetos, 0);
  EXPECT_GE(archivos_t0().zonast3, 0);
  EXPECT_EQ(TempBase::size("CUADT0.INX"), 512u);  // created empty

  EXPECT_EQ(set_consts(24, kBarrios), kBarrios);
  EXPECT_EQ(archivos_t0().objetos, -1);
  ASSERT_EQ(numero_redes(), 1);
  EXPECT_EQ(red(1)->prefix, "BARR");
  EXPECT_EQ(sesion().current_network, 1);
  for (int slot = 0; slot < 9; ++slot) EXPECT_GE(red(1)->handles[slot], 0) << slot;
  EXPECT_EQ(TempBase::size("BARRcoo.dat"), 2408u);
  EXPECT_EQ(TempBase::size("BARRnodo.dat"), 46u);
  EXPECT_EQ(TempBase::size("BARRdesc.dat"), 18u);

  EXPECT_EQ(set_consts(24, 0), 0);
  for (int slot = 0; slot < 9; ++slot) EXPECT_EQ(red(1)->handles[slot], -1) << slot;
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(Session, PreparingTheBaseCreatesEveryNetworksFiles) {
  EXPECT_EQ(inifil(0), 0);
  EXPECT_TRUE(TempBase::exists("CUADT0.INX"));
  EXPECT_TRUE(TempBase::exists("RIOSxyt2.inx"));
  EXPECT_FALSE(TempBase::exists("RIOSobjs.dat"));  // kind 2: no area files
  EXPECT_TRUE(TempBase::exists("BARRxyt3.inx"));
  EXPECT_EQ(numero_redes(), 2);
  EXPECT_EQ(red(2)->handles[9], 3);
  EXPECT_EQ(red(1)->handles[0], -1);  // opened and closed again
}

TEST_F(Session, MissingBaseGivesEmptyTablesAndWarnings) {
  end_cons(0);
  std::filesystem::remove("TABCAP.DAT");
  std::filesystem::remove("TABOBJ.DAT");
  sink.messages.clear();
  ASSERT_EQ(inigks(0), 0);
  EXPECT_EQ(sink.texts(), (std::vector<std::string>{"ADVERTENCIA: TABLA TABCAP.DAT  no existe",
                                                    "ADVERTENCIA: TABLA TABOBJ.DAT  no existe"}));
  EXPECT_EQ(sesion().layer_count, 0);
  EXPECT_EQ(get_capas(0), 0);  // the default entry is there
  EXPECT_EQ(set_consts(24, 1), 0);
}

TEST_F(Session, EndingTheSessionClosesAndFrees) {
  set_consts(24, kCalles);
  end_cons(0);
  EXPECT_EQ(archivos_t0().objetos, -1);
  EXPECT_TRUE(sesion().layers.empty());
  EXPECT_TRUE(sesion().kinds.empty());
  EXPECT_EQ(get_capas(1), 0);  // no session: refused, not read
  EXPECT_EQ(sink.messages.size(), 1u);
  ASSERT_EQ(inigks(0), 0);
}

TEST_F(Session, LimitsPolygonIsKeptInSinglePrecision) {
  const double x[3] = {0.1, 10, 5}, y[3] = {0, 0, 8};
  EXPECT_EQ(set_lims(3, x, y), 0);
  int16_t n = 0;
  double bx[3], by[3];
  get_lims(&n, bx, by);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(bx[0], static_cast<double>(0.1f));
  EXPECT_EQ(by[2], 8.0);
  EXPECT_EQ(sesion().limits.extents, (Ventana{static_cast<double>(0.1f), 0, 10, 8}));
  EXPECT_EQ(set_lims(0, nullptr, nullptr), 0);
  get_lims(&n, bx, by);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(set_lims(-2, x, y), 0);
  EXPECT_EQ(set_lims(3, nullptr, y), 0);
  EXPECT_EQ(sink.texts(),
            (std::vector<std::string>{"set_lims: CANTIDAD NEGATIVA -2", "set_lims: PUNTERO NULO"}));
}

void* no_memory(std::size_t) {
  return nullptr;
}

TEST_F(Session, LimitsThatCannotBeAllocatedLeaveNoPolygon) {
  const double x[2] = {1, 2}, y[2] = {3, 4};
  const Allocator previous = set_allocator(no_memory);
  set_lims(2, x, y);
  set_allocator(previous);
  EXPECT_EQ(sink.texts(), std::vector<std::string>{"ERROR de memoria : LXE; X: abortar ->"});
  int16_t n = 9;
  get_lims(&n, nullptr, nullptr);  // nothing to copy, so no arrays needed
  EXPECT_EQ(n, 0);
}

TEST_F(Session, WorkAreaModesAndExtents) {
  double e[4];
  EXPECT_EQ(get_work_extents(&e[0], &e[1], &e[2], &e[3]), 0);
  const double x[4] = {2, 6, 6, 2}, y[4] = {1, 1, 9, 9};
  EXPECT_EQ(set_workpol(4, x, y), 0);
  EXPECT_EQ(get_work_extents(&e[0], &e[1], &e[2], &e[3]), 1);
  EXPECT_EQ(std::vector<double>(e, e + 4), (std::vector<double>{2, 1, 6, 9}));
  EXPECT_EQ(get_consts(17), 4);

  set_workxy(5, 6, 1, 2);
  EXPECT_EQ(get_work_extents(&e[0], &e[1], &e[2], &e[3]), 3);
  EXPECT_EQ(std::vector<double>(e, e + 4), (std::vector<double>{1, 2, 5, 6}));
  set_workcirc(10, 10, 2);
  EXPECT_EQ(get_work_extents(&e[0], &e[1], &e[2], &e[3]), 2);
  EXPECT_EQ(std::vector<double>(e, e + 4), (std::vector<double>{8, 8, 12, 12}));
  EXPECT_EQ(get_consts(2), 2);
}

TEST_F(Session, AreaObjectBoundaryOfMoreThan598ArcsIsNotLoaded) {
  set_workxy(0, 0, 1, 1);
  std::vector<int16_t> points(599, 2);
  std::vector<double> x(1198, 1.0), y(1198, 2.0);
  EXPECT_FALSE(cargue_area_trabajo(599, points.data(), x.data(), y.data()));
  EXPECT_EQ(sink.texts(), std::vector<std::string>{"AREA MUY GRANDE PARA CARGAR.."});
  EXPECT_EQ(get_consts(2), 3);  // left as it was

  const int16_t two[2] = {2, 3};
  const double ax[5] = {0, 4, 4, 0, 0}, ay[5] = {0, 0, 3, 3, 0};
  EXPECT_TRUE(cargue_area_trabajo(2, two, ax, ay));
  EXPECT_EQ(get_consts(2), 4);
  EXPECT_EQ(sesion().work.count, 5);
  EXPECT_EQ(sesion().work_extents, (Ventana{0, 0, 4, 3}));
}

TEST_F(Session, DescriptionPolygonKeepsAtMost900Points) {
  std::vector<double> x(1000), y(1000);
  for (int i = 0; i < 1000; ++i) x[i] = y[i] = i;
  set_descr(1000, x.data(), y.data());
  EXPECT_EQ(sesion().descr_count, 900);
  EXPECT_EQ(sesion().descr_x[899], 899.0);
  set_descr(-1, x.data(), y.data());
  EXPECT_EQ(sesion().descr_count, 900);
}

TEST_F(Session, LegendSlotsAndPlacement) {
  cx_legend_slot in{};
  in.index = 3;
  in.value = 12.5;
  in.a = 4;
  in.e = 9;
  std::strcpy(in.label, "Rio navegable");
  set_convens(&in);
  cx_legend_slot out;
  std::memset(&out, 'x', sizeof out);
  out.index = 3;
  get_convens(&out);
  EXPECT_EQ(+out.value, 12.5);
  EXPECT_EQ(out.a, 4);
  EXPECT_EQ(out.e, 9);
  EXPECT_EQ(std::string(out.label, 30), std::string("Rio navegable") + std::string(17, '\0'));

  in.index = 17;
  set_convens(&in);
  EXPECT_EQ(sink.texts(), std::vector<std::string>{"set_convens: CONVENCION 17 FUERA DE 0..16"});

  const double a = 1, b = 2, c = 3, d = 4;
  set_convxy(&a, &b, &c, &d);
  double r[4];
  get_convxy(&r[0], &r[1], &r[2], &r[3]);
  EXPECT_EQ(std::vector<double>(r, r + 4), (std::vector<double>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace cx
