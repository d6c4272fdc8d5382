// Opening and releasing attribute bases.
#include "attributes/attribute_bases.h"

namespace cx {

int abra_bases_atributos() {
  return 0;
}

void libere_listas_atributos() {}

}  // namespace cx
