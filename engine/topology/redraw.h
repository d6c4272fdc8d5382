// Redrawing the base in the current world window.
#pragma once

namespace cx {

// Starts a redraw: raises the stop request (terminar clears it) and walks
// the base's drawable items, letting the host's events run between them.
// While no record drawing exists there are no items to walk; the host's
// events still run once.
void redespliegue();

}  // namespace cx
