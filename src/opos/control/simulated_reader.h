// The simulated magnetic stripe reader and its service object
// ("Strivo.SimulatedMSR"). There is one simulated reader per logical device
// name in a process, like a device plugged into the machine: it exists
// whether or not a control has it open. A person drives it from its small
// window (see opos/simwindow), tests drive it directly:
//
//   auto reader = opos::SimulatedReader::ForDevice("QuellorUSBMiniMSR");
//   reader->Swipe(opos::BuiltInTestCards()[0]);
//   reader->BadSwipe(card, opos::BadSwipeKind::Parity, 2);
//   reader->Unplug();  reader->Plug();
//
// Every member may be called from any thread. A swipe reaches the control
// only while a service of that device is open, claimed and enabled and the
// reader is plugged in; it then goes to the control's device thread.
#pragma once

#include "opos/control/msr_service.h"
#include "opos/control/test_cards.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace opos {

class SimulatedService;

// A kind of bad swipe: the track is recorded with this fault.
enum class BadSwipeKind { Start, End, Parity, Lrc };

// The simulated reader's window as the service sees it: it lives while the
// device is open and closes when the object is destroyed.
class SimReaderView {
public:
    virtual ~SimReaderView() = default;
};

class SimulatedReader;
using SimWindowFactory =
    std::function<std::unique_ptr<SimReaderView>(std::shared_ptr<SimulatedReader> reader)>;

class SimulatedReader : public std::enable_shared_from_this<SimulatedReader> {
public:
    // The reader of a logical device, made on first use and kept for the
    // process's life. Names compare exactly.
    static std::shared_ptr<SimulatedReader> ForDevice(const std::string& logicalName);
    // The service object registered as "Strivo.SimulatedMSR".
    static std::unique_ptr<MsrService> MakeService();
    // Installs the maker of the reader's window, called on the user-interface
    // thread when a device opens; null (the default) means no window.
    static void SetWindowFactory(SimWindowFactory factory);

    explicit SimulatedReader(std::string logicalName);
    const std::string& logicalName() const { return logicalName_; }

    // The cards offered in the window; starts as BuiltInTestCards().
    std::vector<TestCard> Cards() const;
    void SetCards(std::vector<TestCard> cards);

    // The outcome of a swipe: read is true when an enabled service took it;
    // error says why the card could not be recorded (a character outside
    // the track's set, a track too long, an empty track chosen for a bad
    // swipe). Nothing is read when error is set.
    struct SwipeResult {
        bool read = false;
        std::string error;
    };
    SwipeResult Swipe(const TestCard& card);
    // Records track (1..4) of the card with the given fault, the other tracks
    // good.
    SwipeResult BadSwipe(const TestCard& card, BadSwipeKind kind, int track);
    // Hands raw stripe bytes to the service as they are.
    bool SwipeRaw(const RawCard& card);
    // A swipe the reader could not record at all.
    bool FailRead(const std::string& why = "the card could not be read");

    // Takes the reader off line (claims and enables answer
    // OPOS_E_NOHARDWARE, swipes are lost) or back on line; an open service
    // reports the power change.
    void Unplug();
    void Plug();
    bool Plugged() const;

    // Sends a DirectIO event to the open service; false when none is open.
    bool FireDirectIOEvent(std::int32_t eventNumber, std::int32_t data, const std::string& text);

    // What the services of this reader are doing (for the window and tests).
    bool IsOpen() const;
    bool IsEnabled() const;
    // Swipes that reached a service since the process started.
    std::uint64_t SwipesRead() const;

private:
    friend class SimulatedService;
    void Attach(SimulatedService* service);
    void Detach(SimulatedService* service);
    template <typename F>
    bool ToEnabledService(F&& deliver);

    const std::string logicalName_;
    mutable std::mutex mutex_;
    std::vector<TestCard> cards_;
    std::vector<SimulatedService*> services_;
    bool plugged_ = true;
    std::uint64_t swipesRead_ = 0;
};

}  // namespace opos
