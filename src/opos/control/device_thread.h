// The device thread of an open control: it takes what the service reports
// (from whatever thread the service reports it), does the work that belongs
// to the device side (decoding the tracks) and posts the results to the
// user-interface thread. Work items run one at a time in arrival order.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace opos {

class DeviceThread {
public:
    DeviceThread();
    // Runs the work already queued, then stops the thread.
    ~DeviceThread();
    DeviceThread(const DeviceThread&) = delete;
    DeviceThread& operator=(const DeviceThread&) = delete;

    // Queues work for the thread. Safe from any thread.
    void Push(std::function<void()> work);
    // Blocks until every item pushed so far has run.
    void WaitIdle();

    // Waits until every device thread of the process is idle, so that what
    // the services reported so far has been posted to the user-interface
    // thread. For tests and benchmarks that then run the posted tasks.
    static void WaitAllIdle();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> queue_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace opos
