// The device thread: a small work queue on a thread of its own.
#include "opos/control/device_thread.h"

#include <set>

namespace opos {

namespace {

std::mutex g_allMutex;
std::set<DeviceThread*>& AllThreads()
{
    static std::set<DeviceThread*> threads;
    return threads;
}

}  // namespace

DeviceThread::DeviceThread() : thread_([this] { Run(); })
{
    std::lock_guard lock(g_allMutex);
    AllThreads().insert(this);
}

DeviceThread::~DeviceThread()
{
    {
        std::lock_guard lock(g_allMutex);
        AllThreads().erase(this);
    }
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void DeviceThread::Push(std::function<void()> work)
{
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    wake_.notify_one();
}

void DeviceThread::WaitIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void DeviceThread::WaitAllIdle()
{
    std::lock_guard lock(g_allMutex);
    for (DeviceThread* t : AllThreads()) {
        t->WaitIdle();
    }
}

void DeviceThread::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) {
            return;  // stopping, and nothing left to do
        }
        std::function<void()> work = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        if (work) {
            work();
        }
        lock.lock();
        busy_ = false;
        if (queue_.empty()) {
            idle_.notify_all();
        }
    }
}

}  // namespace opos
