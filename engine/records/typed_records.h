// The packed disk forms of the topology records and their host records,
// for the engine's own writers and readers: one call packs a host record
// into its disk bytes or spreads the bytes into the host record.
#pragma once

#include "cartex32.h"

namespace cx {

inline constexpr int kObjectSize = 31;
inline constexpr int kNodeSize = 46;
inline constexpr int kArcSize = 41;
inline constexpr int kAreaObjectSize = 48;
inline constexpr int kAreaSize = 29;

void empaque(const cx_object& host, unsigned char* disk);
void empaque(const cx_node& host, unsigned char* disk);
void empaque(const cx_arc& host, unsigned char* disk);
void empaque(const cx_area_object& host, unsigned char* disk);
void empaque(const cx_area& host, unsigned char* disk);

void desempaque(const unsigned char* disk, cx_object* host);
void desempaque(const unsigned char* disk, cx_node* host);
void desempaque(const unsigned char* disk, cx_arc* host);
void desempaque(const unsigned char* disk, cx_area_object* host);
void desempaque(const unsigned char* disk, cx_area* host);

}  // namespace cx
