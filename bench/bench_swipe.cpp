// Swipe-to-event latency of the real MSR control with the simulated reader,
// in process: from SimulatedReader::Swipe on the benchmark thread, through
// the control's device thread and the post to the user-interface thread, to
// the end of the DataEvent (or ErrorEvent) handler, which re-enables data
// events and reads the track data as the console's handler does. The
// benchmark thread stands in for the user-interface thread: a poster hands
// it the tasks and wakes it. Reports the median and the 99th percentile.
#include "msr/msr_dispids.h"
#include "opos/control/device_entries.h"
#include "opos/control/msr_control.h"
#include "opos/control/msr_control_class.h"
#include "opos/control/simulated_reader.h"
#include "platform/com/ui_thread.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <mutex>
#include <vector>

#include <unistd.h>

namespace {

// The user-interface thread's queue, as an event loop would hold it.
class UiLoop {
public:
    UiLoop()
    {
        com::SetUiThreadPoster([this](com::Task task) {
            {
                std::lock_guard lock(mutex_);
                tasks_.push_back(std::move(task));
            }
            wake_.notify_one();
        });
    }
    ~UiLoop() { com::SetUiThreadPoster(nullptr); }

    // Runs posted tasks until done() holds; false after a 2 s stall.
    template <typename Done>
    bool RunUntil(Done done)
    {
        while (!done()) {
            com::Task task;
            {
                std::unique_lock lock(mutex_);
                if (!wake_.wait_for(lock, std::chrono::seconds(2), [this] { return !tasks_.empty(); })) {
                    return false;
                }
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<com::Task> tasks_;
};

// Counts the events and does the handler's usual work.
class HandlerSink : public com::IEventSink {
public:
    explicit HandlerSink(com::IDispatch& control) : control_(control) {}
    void Invoke(std::int32_t dispid, std::span<com::Variant> /*args*/) override
    {
        com::Variant on = com::Variant::FromBool(true);
        control_.Invoke(msrdisp::DataEventEnabled, com::InvokeKind::PropertyPut, std::span(&on, 1), nullptr);
        for (std::int32_t d : {msrdisp::Track1Data, msrdisp::Track2Data, msrdisp::Track3Data,
                               msrdisp::AccountNumber, msrdisp::Surname}) {
            com::Variant v;
            control_.Invoke(d, com::InvokeKind::PropertyGet, {}, &v);
            benchmark::DoNotOptimize(v);
        }
        if (dispid == msrdisp::DataEvent || dispid == msrdisp::ErrorEvent) {
            ++handled;
        }
    }
    int handled = 0;

private:
    com::IDispatch& control_;
};

// A private registry file and runtime folder, the default device entry and
// an open, claimed, enabled control.
struct Rig {
    Rig()
    {
        char tmpl[] = "/tmp/strivo-bench-XXXXXX";
        const char* made = ::mkdtemp(tmpl);
        if (made == nullptr) {
            std::fprintf(stderr, "bench_swipe: cannot make a folder under /tmp: %s\n", std::strerror(errno));
            std::exit(1);
        }
        dir = made;
        ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        opos::RegisterMsrControlClass();
        bool created = false;
        opos::DeviceEntries().EnsureDefault(created);
        reader = opos::SimulatedReader::ForDevice(opos::kDefaultLogicalName);
        control.Advise(&sink);
        Call(msrdisp::Open, com::Variant::FromNarrow(opos::kDefaultLogicalName));
        Call(msrdisp::ClaimDevice, com::Variant::FromI4(1000));
        Put(msrdisp::DeviceEnabled, true);
        Put(msrdisp::DataEventEnabled, true);
    }
    ~Rig()
    {
        control.Invoke(msrdisp::Close, com::InvokeKind::Method, {}, nullptr);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    void Call(std::int32_t dispid, com::Variant arg)
    {
        control.Invoke(dispid, com::InvokeKind::Method, std::span(&arg, 1), nullptr);
    }
    void Put(std::int32_t dispid, bool v)
    {
        com::Variant arg = com::Variant::FromBool(v);
        control.Invoke(dispid, com::InvokeKind::PropertyPut, std::span(&arg, 1), nullptr);
    }

    std::filesystem::path dir;
    UiLoop loop;
    opos::MsrControl control;
    HandlerSink sink{control};
    std::shared_ptr<opos::SimulatedReader> reader;
};

void ReportPercentiles(benchmark::State& state, std::vector<double>& micros)
{
    if (micros.empty()) {
        return;
    }
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) {
        return micros[std::min(micros.size() - 1, static_cast<std::size_t>(q * static_cast<double>(micros.size())))];
    };
    state.counters["median_us"] = at(0.50);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = micros.back();
}

// good: a clean swipe (DataEvent); otherwise a parity error on track 2
// (ErrorEvent with the default response).
void SwipeLatency(benchmark::State& state, bool good)
{
    Rig rig;
    const opos::TestCard card = opos::BuiltInTestCards().at(0);
    std::vector<double> micros;
    for (auto _ : state) {
        const int before = rig.sink.handled;
        const auto start = std::chrono::steady_clock::now();
        const auto swipe = good ? rig.reader->Swipe(card)
                                : rig.reader->BadSwipe(card, opos::BadSwipeKind::Parity, 2);
        if (!swipe.read || !rig.loop.RunUntil([&] { return rig.sink.handled > before; })) {
            state.SkipWithError("the swipe did not reach the handler");
            break;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        micros.push_back(took.count() * 1e6);
    }
    ReportPercentiles(state, micros);
}

void BM_SwipeToDataEvent(benchmark::State& state)
{
    SwipeLatency(state, true);
}
void BM_BadSwipeToErrorEvent(benchmark::State& state)
{
    SwipeLatency(state, false);
}

BENCHMARK(BM_SwipeToDataEvent)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5000);
BENCHMARK(BM_BadSwipeToErrorEvent)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5000);

}  // namespace

BENCHMARK_MAIN();
