#pragma once

namespace tessaly {

// Ends the program once its event loop has returned `code`. Returning from
// main destroys the application object and the process-wide state; while the
// update worker is still at its check (inside its request, or waiting for its
// message box to be shown) those would be destroyed under it. The process then
// ends at once, its output flushed, without running them.
int endRun(int code);

} // namespace tessaly
