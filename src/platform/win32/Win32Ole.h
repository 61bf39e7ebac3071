// OLE for the user-interface thread: initialised on first need (the window's
// controls, a picture to decode) rather than before the start-up notices, which
// need none, and kept for the whole run.
#pragma once

namespace ole {

// Initialises OLE on this thread the first time; later calls do nothing.
void EnsureInitialized();
// At the process's end: uninitialises what EnsureInitialized initialised.
void Uninitialize();

}  // namespace ole
