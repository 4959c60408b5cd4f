// Posting work to the user-interface thread. Device threads never call into
// the container directly: they post a closure that the UI thread runs. The
// dialog layer installs the poster at start-up; without one (a process with
// no user-interface loop, such as a unit test of the control) posted work
// waits in a queue until that thread calls RunPostedTasks().
#pragma once

#include <functional>

namespace com {

using Task = std::function<void()>;
using Poster = std::function<void(Task)>;

// Installs the function that hands a task to the UI thread's event loop.
void SetUiThreadPoster(Poster poster);
// Posts a task to the UI thread. Safe from any thread.
void PostToUiThread(Task task);
// Runs the tasks queued while no poster was installed, in posting order,
// including tasks that they post themselves. Returns how many ran.
int RunPostedTasks();

}  // namespace com
