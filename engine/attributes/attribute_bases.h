// Attribute bases of the object kinds. The session opens and releases them
// through these two calls; bases are described by definition files of the
// base directory.
#pragma once

namespace cx {

// Opens the attribute bases the kinds name. Without definition readers no
// base is opened and nothing is held; returns the number opened.
int abra_bases_atributos();

// Releases every attribute list held (none while no base is opened).
void libere_listas_atributos();

}  // namespace cx
