// Typed readers and writers of the five topology records: each spreads a
// packed disk record into its aligned host record and packs it back, field
// by field, from one table per record kind.
#include "records/typed_records.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "cartex32.h"
#include "frame/messages.h"
#include "records/codec.h"
#include "records/record_file.h"

namespace cx {

namespace {

enum class Type { u8, i16, i32, f64, text };

struct Field {
  int disk;
  std::size_t host;
  Type type;
  int length;  // for text
};

struct Layout {
  int disk_size;
  std::size_t host_size;
  std::vector<Field> fields;
};

// The 31-byte T0 object at a disk offset, with the host offsets of S. Its
// byte 2 is the layer of a plain object and the state byte of the objects
// that embed it (nodes, area objects), hence the offset given apart.
template <typename S>
std::vector<Field> t0_part(int disk, std::size_t byte2) {
  return {{disk + 0, offsetof(S, kind), Type::i16, 0},
          {disk + 2, byte2, Type::u8, 0},
          {disk + 3, offsetof(S, x), Type::f64, 0},
          {disk + 11, offsetof(S, y), Type::f64, 0},
          {disk + 19, offsetof(S, rotation), Type::i16, 0},
          {disk + 21, offsetof(S, block), Type::i32, 0},
          {disk + 25, offsetof(S, count), Type::i16, 0},
          {disk + 27, offsetof(S, area), Type::i32, 0}};
}

std::vector<Field> join(std::vector<Field> a, const std::vector<Field>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Layout kObject{31, sizeof(cx_object), t0_part<cx_object>(0, offsetof(cx_object, layer))};

const Layout kNode{46, sizeof(cx_node),
                   join(join({{0, offsetof(cx_node, code_prefix), Type::u8, 0},
                              {1, offsetof(cx_node, code), Type::text, 10}},
                             t0_part<cx_node>(11, offsetof(cx_node, state))),
                        {{42, offsetof(cx_node, first_list), Type::i32, 0}})};

const Layout kArc{41,
                  sizeof(cx_arc),
                  {{0, offsetof(cx_arc, kind), Type::i16, 0},
                   {2, offsetof(cx_arc, state), Type::u8, 0},
                   {3, offsetof(cx_arc, xmin), Type::f64, 0},
                   {11, offsetof(cx_arc, ymin), Type::f64, 0},
                   {19, offsetof(cx_arc, width), Type::i16, 0},
                   {21, offsetof(cx_arc, block), Type::i32, 0},
                   {25, offsetof(cx_arc, count), Type::i16, 0},
                   {27, offsetof(cx_arc, first_desc), Type::i32, 0},
                   {31, offsetof(cx_arc, from_node), Type::i32, 0},
                   {35, offsetof(cx_arc, from_flag), Type::u8, 0},
                   {36, offsetof(cx_arc, to_node), Type::i32, 0},
                   {40, offsetof(cx_arc, to_flag), Type::u8, 0}}};

const Layout kAreaObject{48, sizeof(cx_area_object),
                         join(join({{0, offsetof(cx_area_object, code), Type::text, 13}},
                                   t0_part<cx_area_object>(13, offsetof(cx_area_object, state))),
                              {{44, offsetof(cx_area_object, first_desc), Type::i32, 0}})};

const Layout kArea{29,
                   sizeof(cx_area),
                   {{0, offsetof(cx_area, code), Type::text, 13},
                    {13, offsetof(cx_area, object), Type::i32, 0},
                    {17, offsetof(cx_area, value) + 0, Type::i32, 0},
                    {21, offsetof(cx_area, value) + 4, Type::i32, 0},
                    {25, offsetof(cx_area, value) + 8, Type::i32, 0}}};

void pack(const Layout& layout, const unsigned char* host, unsigned char* disk) {
  for (const Field& f : layout.fields) {
    const unsigned char* h = host + f.host;
    unsigned char* d = disk + f.disk;
    switch (f.type) {
      case Type::u8:
        *d = *h;
        break;
      case Type::i16: {
        int16_t v;
        std::memcpy(&v, h, 2);
        put_le16(d, v);
        break;
      }
      case Type::i32: {
        int32_t v;
        std::memcpy(&v, h, 4);
        put_le32(d, v);
        break;
      }
      case Type::f64: {
        double v;
        std::memcpy(&v, h, 8);
        put_f64(d, v);
        break;
      }
      case Type::text:
        std::memcpy(d, h, f.length);
        break;
    }
  }
}

void unpack(const Layout& layout, const unsigned char* disk, unsigned char* host) {
  std::memset(host, 0, layout.host_size);
  for (const Field& f : layout.fields) {
    const unsigned char* d = disk + f.disk;
    unsigned char* h = host + f.host;
    switch (f.type) {
      case Type::u8:
        *h = *d;
        break;
      case Type::i16: {
        const int16_t v = get_le16(d);
        std::memcpy(h, &v, 2);
        break;
      }
      case Type::i32: {
        const int32_t v = get_le32(d);
        std::memcpy(h, &v, 4);
        break;
      }
      case Type::f64: {
        const double v = get_f64(d);
        std::memcpy(h, &v, 8);
        break;
      }
      case Type::text:
        std::memcpy(h, d, f.length);
        break;
    }
  }
}

int16_t read_typed(const Layout& layout, int handle, void* host, int32_t record) {
  if (!host) return lea_registro(handle, nullptr, record, layout.disk_size);
  unsigned char disk[64];
  if (lea_registro(handle, disk, record, layout.disk_size) != 0) {
    std::memset(host, 0, layout.host_size);
    return -1;
  }
  unpack(layout, disk, static_cast<unsigned char*>(host));
  return 0;
}

int16_t write_typed(const Layout& layout, int handle, const void* host, int32_t record,
                    int16_t size) {
  if (!host || size < layout.disk_size) return escriba_registro(handle, nullptr, record, size);
  std::vector<unsigned char> disk(size, 0);
  pack(layout, static_cast<const unsigned char*>(host), disk.data());
  return escriba_registro(handle, disk.data(), record, size);
}

}  // namespace

void empaque(const cx_object& host, unsigned char* disk) {
  pack(kObject, reinterpret_cast<const unsigned char*>(&host), disk);
}
void desempaque(const unsigned char* disk, cx_object* host) {
  unpack(kObject, disk, reinterpret_cast<unsigned char*>(host));
}
void empaque(const cx_node& host, unsigned char* disk) {
  pack(kNode, reinterpret_cast<const unsigned char*>(&host), disk);
}
void desempaque(const unsigned char* disk, cx_node* host) {
  unpack(kNode, disk, reinterpret_cast<unsigned char*>(host));
}
void empaque(const cx_arc& host, unsigned char* disk) {
  pack(kArc, reinterpret_cast<const unsigned char*>(&host), disk);
}
void desempaque(const unsigned char* disk, cx_arc* host) {
  unpack(kArc, disk, reinterpret_cast<unsigned char*>(host));
}
void empaque(const cx_area_object& host, unsigned char* disk) {
  pack(kAreaObject, reinterpret_cast<const unsigned char*>(&host), disk);
}
void desempaque(const unsigned char* disk, cx_area_object* host) {
  unpack(kAreaObject, disk, reinterpret_cast<unsigned char*>(host));
}
void empaque(const cx_area& host, unsigned char* disk) {
  pack(kArea, reinterpret_cast<const unsigned char*>(&host), disk);
}
void desempaque(const unsigned char* disk, cx_area* host) {
  unpack(kArea, disk, reinterpret_cast<unsigned char*>(host));
}

}  // namespace cx

CX_EXPORT(int16_t) sleer_obj(int16_t handle, cx_object* object, int32_t record, int16_t) {
  return cx::read_typed(cx::kObject, handle, object, record);
}
CX_EXPORT(int16_t) sleer_nod(int16_t handle, cx_node* node, int32_t record, int16_t) {
  return cx::read_typed(cx::kNode, handle, node, record);
}
CX_EXPORT(int16_t) sleer_arc(int16_t handle, cx_arc* arc, int32_t record, int16_t) {
  return cx::read_typed(cx::kArc, handle, arc, record);
}
CX_EXPORT(int16_t) sleer_top(int16_t handle, cx_area_object* object, int32_t record, int16_t) {
  return cx::read_typed(cx::kAreaObject, handle, object, record);
}
CX_EXPORT(int16_t) sleer_are(int16_t handle, cx_area* area, int32_t record, int16_t) {
  return cx::read_typed(cx::kArea, handle, area, record);
}

CX_EXPORT(int16_t)
sescribir_obj(int16_t handle, const cx_object* object, int32_t record, int16_t size) {
  return cx::write_typed(cx::kObject, handle, object, record, size);
}
CX_EXPORT(int16_t)
sescribir_nod(int16_t handle, const cx_node* node, int32_t record, int16_t size) {
  return cx::write_typed(cx::kNode, handle, node, record, size);
}
CX_EXPORT(int16_t) sescribir_arc(int16_t handle, const cx_arc* arc, int32_t record, int16_t size) {
  return cx::write_typed(cx::kArc, handle, arc, record, size);
}
CX_EXPORT(int16_t)
sescribir_top(int16_t handle, const cx_area_object* object, int32_t record, int16_t size) {
  return cx::write_typed(cx::kAreaObject, handle, object, record, size);
}
CX_EXPORT(int16_t)
sescribir_are(int16_t handle, const cx_area* area, int32_t record, int16_t size) {
  return cx::write_typed(cx::kArea, handle, area, record, size);
}
