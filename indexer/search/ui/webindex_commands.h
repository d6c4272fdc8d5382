// The Generate Web Index command of the main window.
#pragma once

namespace trawlix {

class EngineByteOrder;
class MainWindow;

// Connects "mnuRegenerate": the question, then the run with both progress
// bars and the letter label, as a long run of the window. The engine's
// byte-order functions come from `byte_order`, which must outlive `window`.
void install_webindex_commands(MainWindow& window, EngineByteOrder& byte_order);
// The same over the program's own binding of the engine library.
void install_webindex_commands(MainWindow& window);

}  // namespace trawlix
