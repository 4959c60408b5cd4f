// The message loop of the windowless ("Embedding"/"Automation") run: the Qt
// event loop, ended cleanly by SIGTERM or SIGINT through a self-pipe.
#pragma once

namespace app {

// Runs the application's event loop until SIGTERM or SIGINT arrives, then
// puts the earlier signal handlers back and returns 0. Returns -1 at once
// when there is no application object or the pipe cannot be made (with a
// message on stderr).
int RunEventLoopUntilTerminated();

}  // namespace app
