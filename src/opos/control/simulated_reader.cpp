// The simulated reader (one per logical device name) and the service object
// through which a control reaches it.
#include "opos/control/simulated_reader.h"

#include "msr/opos_constants.h"
#include "opos/codec/track_codec.h"

#include <algorithm>
#include <map>

namespace opos {

namespace {

std::mutex g_readersMutex;
std::map<std::string, std::shared_ptr<SimulatedReader>>& Readers()
{
    static std::map<std::string, std::shared_ptr<SimulatedReader>> readers;
    return readers;
}

std::mutex g_factoryMutex;
SimWindowFactory& WindowFactory()
{
    static SimWindowFactory factory;
    return factory;
}

codec::Corruption CorruptionOf(BadSwipeKind kind)
{
    switch (kind) {
    case BadSwipeKind::Start:
        return codec::Corruption::Start;
    case BadSwipeKind::End:
        return codec::Corruption::End;
    case BadSwipeKind::Parity:
        return codec::Corruption::Parity;
    case BadSwipeKind::Lrc:
        return codec::Corruption::Lrc;
    }
    return codec::Corruption::None;
}

// Encodes every recorded track of the card; badTrack (1..4, 0 for none) gets
// the corruption. Returns an error text, empty on success.
std::string Record(const TestCard& card, int badTrack, codec::Corruption corruption, RawCard& raw)
{
    for (int t = 1; t <= 4; ++t) {
        const std::string& data = card.tracks[static_cast<std::size_t>(t - 1)];
        if (data.empty()) {
            continue;
        }
        const bool bad = t == badTrack;
        // A parity fault goes into the middle of the data characters.
        const std::size_t parityIndex = 1 + data.size() / 2;
        codec::EncodeResult r = codec::EncodeTrack(static_cast<codec::Track>(t), data,
                                                   bad ? corruption : codec::Corruption::None,
                                                   parityIndex);
        if (!r.ok) {
            return "track " + std::to_string(t) + ": " + r.error;
        }
        raw.tracks[static_cast<std::size_t>(t - 1)] = std::move(r.raw);
    }
    return {};
}

}  // namespace

// The service object of the simulated reader. The control calls it from the
// user-interface thread; the reader reads claimed_, enabled_ and listener_
// under its own mutex, from any thread.
class SimulatedService final : public MsrService {
public:
    ~SimulatedService() override { Close(); }

    std::int32_t Open(const std::string& logicalName, const ServiceSettings& /*settings*/,
                      MsrServiceListener* listener) override
    {
        if (reader_) {
            return OPOS_E_ILLEGAL;
        }
        reader_ = SimulatedReader::ForDevice(logicalName);
        {
            std::lock_guard lock(reader_->mutex_);
            listener_ = listener;
        }
        reader_->Attach(this);
        SimWindowFactory factory;
        {
            std::lock_guard lock(g_factoryMutex);
            factory = WindowFactory();
        }
        if (factory) {
            window_ = factory(reader_);
        }
        return OPOS_SUCCESS;
    }

    void Close() override
    {
        if (!reader_) {
            return;
        }
        window_.reset();
        reader_->Detach(this);
        reader_.reset();
    }

    ServiceInfo Info() const override
    {
        ServiceInfo info;
        info.serviceDescription = "Strivo simulated MSR service";
        info.serviceVersion = 1014000;
        info.physicalDeviceDescription = "Strivo simulated magnetic stripe reader, ISO tracks 1-3";
        info.physicalDeviceName = "Strivo Simulated MSR";
        info.capISO = true;
        info.capJISOne = false;
        info.capJISTwo = false;
        info.capTransmitSentinels = true;
        info.capPowerReporting = OPOS_PR_STANDARD;
        return info;
    }

    std::int32_t Claim() override
    {
        if (!reader_) {
            return OPOS_E_CLOSED;
        }
        std::lock_guard lock(reader_->mutex_);
        if (!reader_->plugged_) {
            return OPOS_E_NOHARDWARE;
        }
        claimed_ = true;
        return OPOS_SUCCESS;
    }

    void Release() override
    {
        if (!reader_) {
            return;
        }
        std::lock_guard lock(reader_->mutex_);
        claimed_ = false;
        enabled_ = false;
    }

    std::int32_t Enable(bool enable) override
    {
        if (!reader_) {
            return OPOS_E_CLOSED;
        }
        std::lock_guard lock(reader_->mutex_);
        if (enable && !reader_->plugged_) {
            return OPOS_E_NOHARDWARE;
        }
        enabled_ = enable && claimed_;
        return OPOS_SUCCESS;
    }

    std::int32_t PowerState() const override
    {
        return reader_ && reader_->Plugged() ? OPOS_PS_ONLINE : OPOS_PS_OFFLINE;
    }

    std::int32_t CheckHealth(std::int32_t level, std::string& text) override
    {
        const bool plugged = reader_ && reader_->Plugged();
        switch (level) {
        case OPOS_CH_INTERNAL:
            text = "Internal HCheck: Successful";
            return OPOS_SUCCESS;
        case OPOS_CH_EXTERNAL:
            text = plugged ? "External HCheck: Successful"
                           : "External HCheck: Failed, the reader is not connected";
            return plugged ? OPOS_SUCCESS : OPOS_E_NOHARDWARE;
        case OPOS_CH_INTERACTIVE:
            text = plugged ? "Interactive HCheck: Successful"
                           : "Interactive HCheck: Failed, the reader is not connected";
            return plugged ? OPOS_SUCCESS : OPOS_E_NOHARDWARE;
        default:
            return OPOS_E_ILLEGAL;
        }
    }

    // Command 0 echoes data and text; there are no other commands.
    std::int32_t DirectIO(std::int32_t command, std::int32_t& /*data*/, std::string& /*text*/) override
    {
        return command == 0 ? OPOS_SUCCESS : OPOS_E_ILLEGAL;
    }

    // Read by the reader under its mutex.
    bool claimed_ = false;
    bool enabled_ = false;
    MsrServiceListener* listener_ = nullptr;

private:
    std::shared_ptr<SimulatedReader> reader_;
    std::unique_ptr<SimReaderView> window_;
};

std::shared_ptr<SimulatedReader> SimulatedReader::ForDevice(const std::string& logicalName)
{
    std::lock_guard lock(g_readersMutex);
    auto& slot = Readers()[logicalName];
    if (!slot) {
        slot = std::make_shared<SimulatedReader>(logicalName);
    }
    return slot;
}

std::unique_ptr<MsrService> SimulatedReader::MakeService()
{
    return std::make_unique<SimulatedService>();
}

void SimulatedReader::SetWindowFactory(SimWindowFactory factory)
{
    std::lock_guard lock(g_factoryMutex);
    WindowFactory() = std::move(factory);
}

SimulatedReader::SimulatedReader(std::string logicalName)
    : logicalName_(std::move(logicalName)), cards_(BuiltInTestCards())
{
}

std::vector<TestCard> SimulatedReader::Cards() const
{
    std::lock_guard lock(mutex_);
    return cards_;
}

void SimulatedReader::SetCards(std::vector<TestCard> cards)
{
    std::lock_guard lock(mutex_);
    cards_ = std::move(cards);
}

template <typename F>
bool SimulatedReader::ToEnabledService(F&& deliver)
{
    std::lock_guard lock(mutex_);
    if (!plugged_) {
        return false;
    }
    for (SimulatedService* s : services_) {
        if (s->enabled_ && s->listener_) {
            deliver(*s->listener_);
            ++swipesRead_;
            return true;
        }
    }
    return false;
}

SimulatedReader::SwipeResult SimulatedReader::Swipe(const TestCard& card)
{
    SwipeResult result;
    RawCard raw;
    result.error = Record(card, 0, codec::Corruption::None, raw);
    if (result.error.empty()) {
        result.read = SwipeRaw(raw);
    }
    return result;
}

SimulatedReader::SwipeResult SimulatedReader::BadSwipe(const TestCard& card, BadSwipeKind kind,
                                                       int track)
{
    SwipeResult result;
    if (track < 1 || track > 4) {
        result.error = "there is no track " + std::to_string(track) + " (tracks are 1 to 4)";
        return result;
    }
    if (card.tracks[static_cast<std::size_t>(track - 1)].empty()) {
        result.error = "track " + std::to_string(track) + " of this card is empty; choose a recorded track";
        return result;
    }
    RawCard raw;
    result.error = Record(card, track, CorruptionOf(kind), raw);
    if (result.error.empty()) {
        result.read = SwipeRaw(raw);
    }
    return result;
}

bool SimulatedReader::SwipeRaw(const RawCard& card)
{
    return ToEnabledService([&](MsrServiceListener& l) { l.OnCardRead(card); });
}

bool SimulatedReader::FailRead(const std::string& why)
{
    return ToEnabledService([&](MsrServiceListener& l) { l.OnReadFailure(why); });
}

void SimulatedReader::Unplug()
{
    std::lock_guard lock(mutex_);
    if (!plugged_) {
        return;
    }
    plugged_ = false;
    for (SimulatedService* s : services_) {
        if (s->listener_) {
            s->listener_->OnPowerState(OPOS_PS_OFFLINE);
        }
    }
}

void SimulatedReader::Plug()
{
    std::lock_guard lock(mutex_);
    if (plugged_) {
        return;
    }
    plugged_ = true;
    for (SimulatedService* s : services_) {
        if (s->listener_) {
            s->listener_->OnPowerState(OPOS_PS_ONLINE);
        }
    }
}

bool SimulatedReader::Plugged() const
{
    std::lock_guard lock(mutex_);
    return plugged_;
}

bool SimulatedReader::FireDirectIOEvent(std::int32_t eventNumber, std::int32_t data,
                                        const std::string& text)
{
    std::lock_guard lock(mutex_);
    for (SimulatedService* s : services_) {
        if (s->listener_) {
            s->listener_->OnDirectIOEvent(eventNumber, data, text);
            return true;
        }
    }
    return false;
}

bool SimulatedReader::IsOpen() const
{
    std::lock_guard lock(mutex_);
    return !services_.empty();
}

bool SimulatedReader::IsEnabled() const
{
    std::lock_guard lock(mutex_);
    return std::any_of(services_.begin(), services_.end(),
                       [](const SimulatedService* s) { return s->enabled_; });
}

std::uint64_t SimulatedReader::SwipesRead() const
{
    std::lock_guard lock(mutex_);
    return swipesRead_;
}

void SimulatedReader::Attach(SimulatedService* service)
{
    std::lock_guard lock(mutex_);
    services_.push_back(service);
}

void SimulatedReader::Detach(SimulatedService* service)
{
    std::lock_guard lock(mutex_);
    services_.erase(std::remove(services_.begin(), services_.end(), service), services_.end());
}

}  // namespace opos
