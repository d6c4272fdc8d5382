// The table of devices by handle.
#include "platform/device_table.h"

#include <limits>
#include <map>

namespace cx {

namespace {
struct Table {
  std::map<int32_t, std::unique_ptr<Device>> devices;
  int32_t last = 0;
};

Table& table() {
  static Table t;
  return t;
}
}  // namespace

int32_t registre_dispositivo(std::unique_ptr<Device> device) {
  Table& t = table();
  if (!device || t.last == std::numeric_limits<int32_t>::max()) return 0;
  t.devices[++t.last] = std::move(device);
  return t.last;
}

Device* dispositivo(int32_t handle) {
  Table& t = table();
  const auto it = t.devices.find(handle);
  return it == t.devices.end() ? nullptr : it->second.get();
}

bool libere_dispositivo(int32_t handle) {
  return table().devices.erase(handle) > 0;
}

}  // namespace cx
