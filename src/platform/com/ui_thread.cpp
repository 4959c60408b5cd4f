// The hand-off of device-thread work to the user-interface thread.
#include "platform/com/ui_thread.h"

#include <deque>
#include <mutex>

namespace com {

namespace {

std::mutex g_mutex;
Poster g_poster;
std::deque<Task> g_queue;

}  // namespace

void SetUiThreadPoster(Poster poster)
{
    std::lock_guard lock(g_mutex);
    g_poster = std::move(poster);
}

void PostToUiThread(Task task)
{
    Poster poster;
    {
        std::lock_guard lock(g_mutex);
        if (!g_poster) {
            g_queue.push_back(std::move(task));
            return;
        }
        poster = g_poster;
    }
    poster(std::move(task));
}

int RunPostedTasks()
{
    int ran = 0;
    for (;;) {
        Task task;
        {
            std::lock_guard lock(g_mutex);
            if (g_queue.empty()) {
                return ran;
            }
            task = std::move(g_queue.front());
            g_queue.pop_front();
        }
        if (task) {
            task();
        }
        ++ran;
    }
}

}  // namespace com
