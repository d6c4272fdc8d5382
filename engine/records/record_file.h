// The record file layer: every data file of a base is opened, created, read
// and written through here. Failures are reported to the user here, with a
// diagnostic naming the file, and come back as a plain failure value.
//
// A fixed-record file holds record n at n x size; record 0 is the header,
// whose first 4 bytes (little-endian) hold the last record number handed
// out. A given-back record has -1 in its first 4 bytes. Sizes and offsets
// are computed in 64 bits, so a large record number never wraps.
#pragma once

#include <cstdint>

namespace cx {

// tabla_nombres covers handles -1..37; nombre_abierto gives "No abierto"
// for any other handle.
inline constexpr int kFirstNamedHandle = -1;
inline constexpr int kLastNamedHandle = 37;
inline constexpr int kNameLength = 14;
const char* nombre_abierto(int handle);

// Opens an existing file shared for reading and writing; remembers its path
// in tabla_nombres. Returns the handle or -1; nothing is created.
int abra_compartido(const char* path);
void cierre_archivo(int handle);

// A handle of abra_compartido (or of the file layer's create) closed when
// its owner goes, on every path out of the function that opened it.
class ArchivoAbierto {
 public:
  explicit ArchivoAbierto(int handle = -1) : handle_(handle) {}
  ~ArchivoAbierto() { cierre_archivo(handle_); }
  ArchivoAbierto(const ArchivoAbierto&) = delete;
  ArchivoAbierto& operator=(const ArchivoAbierto&) = delete;
  ArchivoAbierto(ArchivoAbierto&& other) noexcept : handle_(other.suelte()) {}
  ArchivoAbierto& operator=(ArchivoAbierto&& other) noexcept {
    if (this != &other) {
      cierre_archivo(handle_);
      handle_ = other.suelte();
    }
    return *this;
  }

  int get() const { return handle_; }
  bool abierto() const { return handle_ >= 0; }
  // Closes the file now (the diagnostics of a later step may need it shut).
  void cierre() {
    cierre_archivo(handle_);
    handle_ = -1;
  }
  // Gives the handle to the caller, who closes it.
  int suelte() {
    const int handle = handle_;
    handle_ = -1;
    return handle;
  }

 private:
  int handle_;
};

// Byte reads and writes at an offset, with the LEA_BYTES / ESC_BYTES
// diagnostics. 0 on success, -1 on failure (a failed read zeroes buffer).
int16_t lea_bytes_en(int handle, int64_t offset, void* buffer, int32_t count);
int16_t esc_bytes(int handle, int64_t offset, const void* data, int32_t count);

// Record n of the given size, with the LEER / ESCRIBIR diagnostics.
int16_t lea_registro(int handle, void* buffer, int64_t record, int32_t size);
int16_t escriba_registro(int handle, const void* data, int64_t record, int32_t size);

// Creates path as an empty record file (a zeroed header record) and closes
// it; an existing file is deleted first. *handle is -1 afterwards (the file
// is not left open). 0 on success, -1 after "[crear arch.] ADVERTENCIA: ".
int16_t crear_archivo(int16_t* handle, const char* path, int32_t size);

// Hands out record file length / size and writes it into the header; 0
// when the file is shorter than one record (or on a failed write). The
// record is reserved at once (written as given back, -1 in its first 4
// bytes, until the caller writes it), so every hand-out is a new record
// even before the one before it is written.
int32_t pida_registro(int handle, int32_t size);

// Gives record n back (first 4 bytes -1). Only for 0 < n <= the highest
// record and size > 8; otherwise, or on failure, "DEVOLVER: ..." and -1.
int16_t devuelva_registro(int handle, int64_t record, int32_t size);

// file length / size - 1: the highest record present (-1 for an empty or
// unreadable file, or a size below 1).
int32_t ultimo_registro(int handle, int32_t size);

}  // namespace cx
