// The common part of the services of readers that send a swipe's text
// through a device node (a serial port, an input event device): a reading
// thread per open service, swipes handed to the control while claimed and
// enabled, the power state kept up to date, and a reader that goes away
// (unplugged, hangup) tried again at intervals until it comes back.
//
// A derived service reads its settings, opens and sets up its device node,
// turns the bytes read into swipes, and may take the node for itself while
// enabled (the keyboard wedge grabs its input device).
#pragma once

#include "opos/control/msr_service.h"
#include "opos/control/swipe_text.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace opos {

class PortReaderService : public MsrService {
public:
    PortReaderService() = default;
    // A derived service calls Close() in its own destructor, while its
    // members still exist (Close calls back into them).
    ~PortReaderService() override = default;
    PortReaderService(const PortReaderService&) = delete;
    PortReaderService& operator=(const PortReaderService&) = delete;

    std::int32_t Open(const std::string& logicalName, const ServiceSettings& settings,
                      MsrServiceListener* listener) final;
    void Close() final;
    std::int32_t Claim() final;
    void Release() final;
    std::int32_t Enable(bool enable) final;
    std::int32_t PowerState() const final;
    // Internal: the service runs. External: the port is open and answers.
    // Interactive: not supported (swiping a card is the interactive test).
    std::int32_t CheckHealth(std::int32_t level, std::string& text) final;
    // Command 0 does nothing and succeeds; there are no other commands.
    std::int32_t DirectIO(std::int32_t command, std::int32_t& data, std::string& text) final;

    // How long a reader that went away waits between attempts to open its
    // port again (1 s unless changed; tests shorten it).
    static void SetReopenInterval(std::chrono::milliseconds interval);

protected:
    // The service's name, for messages ("Strivo.SerialMSR").
    virtual std::string ServiceName() const = 0;
    // Reads the device entry's settings; false with why naming the setting
    // and the values it takes.
    virtual bool Configure(const ServiceSettings& settings, std::string& why) = 0;
    // The device node the settings name, for messages.
    virtual std::string PortName() const = 0;
    // Opens and sets up the port; returns the descriptor, or -1 with why
    // saying what went wrong and what to do about it.
    virtual int OpenPort(std::string& why) = 0;
    // Checks that an open port still answers (the external health check);
    // false with why.
    virtual bool ProbePort(int fd, std::string& why) = 0;
    // Takes the port for this process while enabled, or gives it back.
    virtual bool HoldPort(int /*fd*/, bool /*hold*/, std::string& /*why*/) { return true; }
    // Takes the bytes read; calls sink for every swipe completed. Called on
    // the reading thread whether or not the device is enabled (so a derived
    // service can keep track of the device's state); the sink drops swipes
    // while the device is not enabled.
    virtual void OnBytes(std::string_view bytes, const SwipeAssembler::Sink& sink) = 0;
    // Drops a swipe begun but not ended. Called on the reading thread.
    virtual void ResetInput() = 0;

    const std::string& logicalName() const { return logicalName_; }
    // Writes a diagnostic line, naming the service and the device, to stderr.
    void Report(const std::string& text) const;

private:
    void Run();
    void GoOffline(const std::string& why);
    // Waits for the stop signal up to the given time; true when stopping.
    bool WaitForStop(std::chrono::milliseconds timeout) const;

    std::string logicalName_;
    MsrServiceListener* listener_ = nullptr;
    bool open_ = false;
    int stopRead_ = -1;
    int stopWrite_ = -1;
    std::thread thread_;

    mutable std::mutex portMutex_;  // guards fd_ and the hold on it
    int fd_ = -1;                   // changed only by the reading thread and Close
    std::atomic<bool> online_{false};
    std::atomic<bool> claimed_{false};
    std::atomic<bool> enabled_{false};
    std::atomic<bool> resetInput_{false};
};

}  // namespace opos
