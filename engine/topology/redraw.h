// Redrawing the base in the current world window.
#pragma once

namespace cx {

// Redraws the base in the session's window widened by parameter 8: the T0
// objects of CUADT0.INX, then each registered network's nodes (with their
// arcs) and area objects, one drawing level after another. Raises the stop
// request first; terminar (typically from the host's event pump, which runs
// every 50 hits and once at the end) ends the walk at the next hit. The current layer's files
// are closed during the walk and open again afterwards.
void redespliegue();

}  // namespace cx
