// The OPOS MSR control object: property table, the put pipeline, the methods,
// the input queue and event delivery.
#include "opos/control/msr_control.h"

#include "msr/msr_dispids.h"
#include "msr/opos_constants.h"
#include "opos/codec/binary_conversion.h"
#include "opos/codec/card_parser.h"
#include "opos/codec/track_codec.h"
#include "opos/control/claim_lock.h"
#include "opos/control/device_entries.h"
#include "opos/control/device_thread.h"
#include "opos/control/msr_service.h"
#include "opos/control/service_factory.h"
#include "platform/com/ui_thread.h"

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace opos {

namespace {

using com::OleString;
using com::Variant;

constexpr std::int32_t kAllTracks = MSR_TR_1 | MSR_TR_2 | MSR_TR_3 | MSR_TR_4;

// One swipe as the device thread hands it over: the raw tracks and their
// decoded forms, or a read that failed as a whole.
struct Reading {
    bool failed = false;
    RawCard raw;
    std::array<codec::DecodeResult, 4> decoded;
};

// An entry of the input queue: a card to deliver as DataEvent, or a read
// error to deliver as ErrorEvent.
struct InputItem {
    bool isError = false;
    Reading reading;
    std::int32_t tracksRead = 0;                // TracksToRead when the card was read
    std::array<std::int32_t, 4> trackErrors{};  // 0 or 201..204 per track (errors only)
    std::int32_t locus = 0;                     // 2 input, 3 input with data queued
};

// Events that need only FreezeEvents false: status updates and DirectIO.
struct OtherEvent {
    std::int32_t dispid = 0;
    std::int32_t number = 0;
    std::int32_t data = 0;
    std::string text;
};

// The properties. Value-initialised, they are what a closed control answers.
struct Props {
    bool autoDisable = false;
    std::int32_t binaryConversion = 0;
    std::string checkHealthText;
    bool claimed = false;
    bool dataEventEnabled = false;
    bool deviceEnabled = false;
    bool freezeEvents = false;
    std::int32_t powerNotify = 0;
    std::int32_t powerState = 0;
    std::int32_t resultCode = 0;
    std::int32_t resultCodeExtended = 0;
    std::int32_t state = OPOS_S_CLOSED;
    ServiceInfo service{"", 0, "", "", false, false, false, false, 0};
    bool decodeData = false;
    bool parseDecodeData = false;
    bool transmitSentinels = false;
    std::int32_t tracksToRead = 0;
    std::int32_t errorReportingType = 0;
    // Data properties, filled when an event is delivered.
    std::array<OleString, 4> trackData;
    OleString track1Discretionary, track2Discretionary;
    codec::ParsedCard parsed;
};

std::int32_t ToI4(const Variant& v)
{
    return v.is(com::VarType::Bool) ? (v.boolean() ? 1 : 0) : v.i4();
}

OleString OleFromBytes(std::span<const std::uint8_t> bytes)
{
    OleString s;
    s.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        s.push_back(static_cast<char16_t>(b));
    }
    return s;
}

}  // namespace

struct MsrControl::Impl {
    // What the service reports, handed to the device thread and from there
    // to the user-interface thread.
    class Listener final : public MsrServiceListener {
    public:
        Listener(Impl* owner, std::uint64_t generation, DeviceThread* thread)
            : owner_(owner), alive_(owner->alive), generation_(generation), thread_(thread)
        {
        }
        void OnCardRead(const RawCard& card) override
        {
            thread_->Push([this, card] {
                Reading r;
                r.raw = card;
                for (std::size_t t = 0; t < 4; ++t) {
                    r.decoded[t] =
                        codec::DecodeTrack(static_cast<codec::Track>(t + 1), r.raw.tracks[t]);
                }
                Post([r = std::move(r)](Impl& c) { c.OnReading(r); });
            });
        }
        void OnReadFailure(const std::string& /*why*/) override
        {
            thread_->Push([this] {
                Post([](Impl& c) {
                    Reading r;
                    r.failed = true;
                    c.OnReading(r);
                });
            });
        }
        void OnPowerState(std::int32_t powerState) override
        {
            thread_->Push([this, powerState] { Post([powerState](Impl& c) { c.OnPower(powerState); }); });
        }
        void OnDirectIOEvent(std::int32_t eventNumber, std::int32_t data, const std::string& text) override
        {
            thread_->Push([this, eventNumber, data, text] {
                Post([eventNumber, data, text](Impl& c) {
                    c.QueueOther({msrdisp::DirectIOEvent, eventNumber, data, text});
                });
            });
        }

    private:
        // Runs f on the user-interface thread if the control still exists and
        // is still the same open session.
        template <typename F>
        void Post(F f)
        {
            com::PostToUiThread([owner = owner_, alive = alive_, gen = generation_, f = std::move(f)] {
                if (!alive.expired() && owner->generation == gen && owner->open) {
                    f(*owner);
                }
            });
        }
        Impl* owner_;
        std::weak_ptr<int> alive_;
        std::uint64_t generation_;
        DeviceThread* thread_;
    };

    Impl() = default;
    ~Impl() { CloseDevice(); }

    // Session.
    std::shared_ptr<int> alive = std::make_shared<int>(0);
    std::uint64_t generation = 0;
    bool open = false;
    std::string logicalName;
    std::unique_ptr<MsrService> service;
    std::unique_ptr<DeviceThread> thread;
    std::unique_ptr<Listener> listener;
    std::unique_ptr<ClaimLock> claimLock;
    com::IEventSink* sink = nullptr;

    Props p;
    std::deque<InputItem> input;
    std::int32_t dataCount = 0;
    std::deque<OtherEvent> others;
    bool deliveryPosted = false;
    bool delivering = false;

    // ---- Methods -------------------------------------------------------

    std::int32_t Open(const std::string& name)
    {
        if (open) {
            return OPOS_E_ILLEGAL;
        }
        std::optional<DeviceEntry> entry;
        if (!DeviceEntries().Find(name, entry)) {
            return OPOS_E_FAILURE;  // the registry store cannot be read
        }
        if (!entry) {
            return OPOS_E_NOEXIST;
        }
        std::unique_ptr<MsrService> svc = ServiceFactory::Instance().Create(entry->service);
        if (!svc) {
            return OPOS_E_NOSERVICE;
        }
        ++generation;
        auto devThread = std::make_unique<DeviceThread>();
        auto devListener = std::make_unique<Listener>(this, generation, devThread.get());
        // The entry's own spelling names the device from here on, so that
        // the claim lock and the service agree whatever case Open was given.
        const std::string canonical = entry->logicalName;
        if (svc->Open(canonical, entry->settings, devListener.get()) != OPOS_SUCCESS) {
            // What the service reported before it failed may still be queued
            // on the device thread, whose work uses the listener: the thread
            // runs out and stops before the listener goes.
            svc->Close();
            devThread.reset();
            return OPOS_E_NOSERVICE;
        }
        service = std::move(svc);
        thread = std::move(devThread);
        listener = std::move(devListener);
        claimLock = std::make_unique<ClaimLock>(canonical);
        logicalName = canonical;
        open = true;
        ResetForOpen();
        return OPOS_SUCCESS;
    }

    void ResetForOpen()
    {
        Props fresh;
        fresh.resultCode = p.resultCode;
        fresh.resultCodeExtended = p.resultCodeExtended;
        p = std::move(fresh);
        p.state = OPOS_S_IDLE;
        p.service = service->Info();
        p.powerNotify = OPOS_PN_DISABLED;
        p.powerState = OPOS_PS_UNKNOWN;
        p.decodeData = true;
        p.parseDecodeData = true;
        p.transmitSentinels = false;
        p.tracksToRead = MSR_TR_1 | MSR_TR_2 | MSR_TR_3;
        p.errorReportingType = MSR_ERT_CARD;
        p.binaryConversion = OPOS_BC_NONE;
        input.clear();
        others.clear();
        dataCount = 0;
        deliveryPosted = false;
    }

    std::int32_t CloseDevice()
    {
        if (!open) {
            return OPOS_E_CLOSED;
        }
        if (p.deviceEnabled) {
            Disable();
        }
        if (p.claimed) {
            Release();
        }
        // No service call reaches the listener after Close; the device
        // thread then runs out what it holds, and its posts find the session
        // gone (the generation moves on below).
        service->Close();
        thread.reset();
        listener.reset();
        service.reset();
        claimLock.reset();
        ++generation;
        open = false;
        Props closed;
        closed.resultCode = p.resultCode;
        closed.resultCodeExtended = p.resultCodeExtended;
        p = std::move(closed);
        input.clear();
        others.clear();
        dataCount = 0;
        deliveryPosted = false;
        return OPOS_SUCCESS;
    }

    std::int32_t Claim(std::int32_t timeout)
    {
        if (!open) {
            return OPOS_E_CLOSED;
        }
        if (timeout < -1) {
            return OPOS_E_ILLEGAL;
        }
        if (p.claimed) {
            return OPOS_SUCCESS;
        }
        switch (claimLock->Acquire(timeout)) {
        case ClaimLock::Result::Acquired:
            break;
        case ClaimLock::Result::TimedOut:
            return OPOS_E_TIMEOUT;
        case ClaimLock::Result::Failed:
            return OPOS_E_FAILURE;
        }
        if (std::int32_t rc = service->Claim(); rc != OPOS_SUCCESS) {
            claimLock->Release();
            return rc;
        }
        p.claimed = true;
        return OPOS_SUCCESS;
    }

    std::int32_t Release()
    {
        if (!open) {
            return OPOS_E_CLOSED;
        }
        if (!p.claimed) {
            return OPOS_E_NOTCLAIMED;
        }
        if (p.deviceEnabled) {
            Disable();
        }
        service->Release();
        claimLock->Release();
        p.claimed = false;
        return OPOS_SUCCESS;
    }

    std::int32_t ClearInput()
    {
        if (!open) {
            return OPOS_E_CLOSED;
        }
        if (!p.claimed) {
            return OPOS_E_NOTCLAIMED;
        }
        ClearInputQueue();
        return OPOS_SUCCESS;
    }

    std::int32_t CheckHealth(std::int32_t level)
    {
        if (!open) {
            return OPOS_E_CLOSED;
        }
        if (!p.claimed) {
            return OPOS_E_NOTCLAIMED;
        }
        if (!p.deviceEnabled) {
            return OPOS_E_DISABLED;
        }
        if (level < OPOS_CH_INTERNAL || level > OPOS_CH_INTERACTIVE) {
            return OPOS_E_ILLEGAL;
        }
        std::string text;
        const std::int32_t rc = service->CheckHealth(level, text);
        p.checkHealthText = text;
        return rc;
    }

    std::int32_t DirectIO(std::int32_t command, std::int32_t& data, std::string& text)
    {
        if (!open) {
            return OPOS_E_CLOSED;
        }
        return service->DirectIO(command, data, text);
    }

    // ---- Device state --------------------------------------------------

    std::int32_t Enable()
    {
        if (std::int32_t rc = service->Enable(true); rc != OPOS_SUCCESS) {
            return rc;
        }
        p.deviceEnabled = true;
        if (p.powerNotify == OPOS_PN_ENABLED) {
            UpdatePower(service->PowerState());
        }
        return OPOS_SUCCESS;
    }

    void Disable()
    {
        service->Enable(false);
        p.deviceEnabled = false;
        p.powerState = OPOS_PS_UNKNOWN;
    }

    void UpdatePower(std::int32_t powerState)
    {
        if (powerState == p.powerState) {
            return;
        }
        p.powerState = powerState;
        if (powerState >= OPOS_SUE_POWER_ONLINE && powerState <= OPOS_SUE_POWER_OFF_OFFLINE) {
            QueueOther({msrdisp::StatusUpdateEvent, powerState, 0, {}});
        }
    }

    void OnPower(std::int32_t powerState)
    {
        // The power state is tracked only while the application asked for
        // it and the device is enabled.
        if (p.deviceEnabled && p.powerNotify == OPOS_PN_ENABLED) {
            UpdatePower(powerState);
        }
    }

    // ---- Input queue ---------------------------------------------------

    void OnReading(const Reading& reading)
    {
        if (!p.deviceEnabled) {
            return;  // input is taken only while enabled
        }
        if (input.size() >= kMaxQueuedInput) {
            return;  // the application is not taking its events; see kMaxQueuedInput
        }
        InputItem item;
        item.reading = reading;
        item.tracksRead = p.tracksToRead;
        item.isError = reading.failed;
        for (std::size_t t = 0; t < 4 && !reading.failed; ++t) {
            if (p.tracksToRead & (1 << t)) {
                item.trackErrors[t] = static_cast<std::int32_t>(reading.decoded[t].error);
                item.isError = item.isError || item.trackErrors[t] != 0;
            }
        }
        if (item.isError) {
            // An input error goes ahead of the data already queued.
            item.locus = dataCount > 0 ? 3 : 2;
            auto pos = input.begin();
            while (pos != input.end() && pos->isError) {
                ++pos;
            }
            input.insert(pos, std::move(item));
            p.state = OPOS_S_ERROR;
        } else {
            input.push_back(std::move(item));
            ++dataCount;
            if (p.autoDisable) {
                Disable();
            }
        }
        ScheduleDelivery();
    }

    void ClearInputQueue()
    {
        input.clear();
        dataCount = 0;
        p.state = OPOS_S_IDLE;
    }

    void QueueOther(OtherEvent e)
    {
        others.push_back(std::move(e));
        ScheduleDelivery();
    }

    // ---- Delivery ------------------------------------------------------

    void ScheduleDelivery()
    {
        if (deliveryPosted || !open) {
            return;
        }
        deliveryPosted = true;
        com::PostToUiThread([this, alive = std::weak_ptr<int>(alive), gen = generation] {
            if (!alive.expired() && generation == gen) {
                deliveryPosted = false;
                DeliverNext();
            }
        });
    }

    bool CanDeliverInput() const
    {
        return !input.empty() && p.dataEventEnabled && !p.freezeEvents;
    }

    // Delivers one event and schedules the next. Events are never nested:
    // while a handler runs (perhaps in a modal loop), nothing else goes out.
    void DeliverNext()
    {
        if (!open || delivering || p.freezeEvents) {
            return;
        }
        const std::weak_ptr<int> aliveToken = alive;
        const std::uint64_t gen = generation;
        delivering = true;
        if (!others.empty()) {
            OtherEvent e = std::move(others.front());
            others.pop_front();
            FireOther(e);
        } else if (CanDeliverInput()) {
            InputItem item = std::move(input.front());
            input.pop_front();
            if (item.isError) {
                FireError(item, aliveToken, gen);
            } else {
                --dataCount;
                FillData(item, item.tracksRead);
                p.dataEventEnabled = false;
                std::array<Variant, 1> args = {Variant::FromI4(DataStatus())};
                Fire(msrdisp::DataEvent, args);
            }
        }
        if (aliveToken.expired()) {
            return;
        }
        delivering = false;
        // Deliveries posted while the handler ran found it busy and did
        // nothing; what is waiting now goes out next, also when the handler
        // closed and opened the device again (a new session's events).
        if (open && (!others.empty() || CanDeliverInput())) {
            ScheduleDelivery();
        }
    }

    void FireOther(OtherEvent& e)
    {
        if (e.dispid == msrdisp::StatusUpdateEvent) {
            std::array<Variant, 1> args = {Variant::FromI4(e.number)};
            Fire(e.dispid, args);
        } else {
            std::int32_t data = e.data;
            OleString text = com::OleFromNarrow(e.text);
            std::array<Variant, 3> args = {Variant::FromI4(e.number), Variant::RefI4(&data),
                                           Variant::RefBstr(&text)};
            Fire(e.dispid, args);
        }
    }

    void FireError(const InputItem& item, const std::weak_ptr<int>& aliveToken, std::uint64_t gen)
    {
        const bool trackMode = p.errorReportingType == MSR_ERT_TRACK && !item.reading.failed;
        std::int32_t rc = OPOS_E_FAILURE;
        std::int32_t ext = 0;
        if (trackMode) {
            rc = OPOS_E_EXTENDED;
            std::uint32_t packed = 0;
            std::int32_t badTracks = 0;
            for (std::size_t t = 0; t < 4; ++t) {
                packed |= static_cast<std::uint32_t>(item.trackErrors[t] & 0xFF) << (8 * t);
                if (item.trackErrors[t] != 0) {
                    badTracks |= 1 << t;
                }
            }
            ext = static_cast<std::int32_t>(packed);
            // The tracks that were read well are delivered with the error.
            FillData(item, item.tracksRead & ~badTracks);
        }
        p.resultCode = rc;
        p.resultCodeExtended = ext;
        p.state = OPOS_S_ERROR;
        p.dataEventEnabled = false;
        const std::int32_t fallback = item.locus == 3 ? OPOS_ER_CONTINUEINPUT : OPOS_ER_CLEAR;
        std::int32_t response = fallback;
        std::array<Variant, 4> args = {Variant::FromI4(rc), Variant::FromI4(ext),
                                       Variant::FromI4(item.locus), Variant::RefI4(&response)};
        Fire(msrdisp::ErrorEvent, args);
        if (aliveToken.expired() || generation != gen) {
            return;  // the handler closed the device or destroyed the control
        }
        // A retry cannot be honoured for input: the card is gone, so it is
        // taken as clear. Any value that is no response at all gets the
        // default for the locus.
        if (response == OPOS_ER_RETRY) {
            response = OPOS_ER_CLEAR;
        } else if (response != OPOS_ER_CLEAR && response != OPOS_ER_CONTINUEINPUT) {
            response = fallback;
        }
        if (response == OPOS_ER_CLEAR) {
            ClearInputQueue();
        }
        bool errorLeft = false;
        for (const InputItem& i : input) {
            errorLeft = errorLeft || i.isError;
        }
        p.state = errorLeft ? OPOS_S_ERROR : OPOS_S_IDLE;
    }

    void Fire(std::int32_t dispid, std::span<Variant> args)
    {
        if (sink) {
            sink->Invoke(dispid, args);
        }
    }

    // Sets the data properties from a reading: tracks outside the mask are
    // empty; parsing uses only tracks inside it.
    void FillData(const InputItem& item, std::int32_t mask)
    {
        const Reading& r = item.reading;
        for (std::size_t t = 0; t < 4; ++t) {
            OleString& out = p.trackData[t];
            out.clear();
            if (!(mask & (1 << t)) || r.failed) {
                continue;
            }
            if (p.decodeData) {
                const codec::DecodeResult& d = r.decoded[t];
                out = com::OleFromNarrow(p.transmitSentinels ? d.withSentinels : d.data);
                continue;
            }
            std::span<const std::uint8_t> bytes = r.raw.tracks[t];
            // Without sentinels the raw data is the characters between them:
            // the start sentinel, the end sentinel and the LRC are dropped.
            if (!p.transmitSentinels) {
                bytes = bytes.size() >= 3 ? bytes.subspan(1, bytes.size() - 3)
                                          : std::span<const std::uint8_t>();
            }
            if (p.binaryConversion == OPOS_BC_NONE) {
                out = OleFromBytes(bytes);
            } else {
                out = com::OleFromNarrow(codec::ToBinaryText(
                    static_cast<codec::BinaryConversion>(p.binaryConversion), bytes));
            }
        }
        p.parsed = {};
        if (p.decodeData && p.parseDecodeData && !r.failed) {
            const std::string t1 = (mask & MSR_TR_1) ? r.decoded[0].data : std::string();
            const std::string t2 = (mask & MSR_TR_2) ? r.decoded[1].data : std::string();
            p.parsed = codec::ParseTracks(t1, t2);
        }
        p.track1Discretionary = com::OleFromNarrow(p.parsed.track1Discretionary);
        p.track2Discretionary = com::OleFromNarrow(p.parsed.track2Discretionary);
    }

    // DataEvent's Status: the length of each track's data, one byte per
    // track, track 1 in the lowest byte.
    std::int32_t DataStatus() const
    {
        std::uint32_t status = 0;
        for (std::size_t t = 0; t < 4; ++t) {
            const std::size_t len = std::min<std::size_t>(p.trackData[t].size(), 0xFF);
            status |= static_cast<std::uint32_t>(len) << (8 * t);
        }
        return static_cast<std::int32_t>(status);
    }
};

// ---- The property table ---------------------------------------------------

namespace {

using Impl = MsrControl::Impl;

// A put runs these steps in order: the device must be open (101), the value
// must pass the property's capability and range check (106), the claim must
// be held where the property needs it (103), then the value is handed on.
struct Property {
    std::int32_t dispid;
    com::VarType type;
    Variant (*get)(const Impl&);
    std::int32_t (*check)(const Impl&, std::int32_t);  // null: any value
    bool needsClaim;
    std::int32_t (*apply)(Impl&, std::int32_t);  // null: read-only
};

Variant Bool(bool v)
{
    return Variant::FromBool(v);
}
Variant I4(std::int32_t v)
{
    return Variant::FromI4(v);
}
Variant Str(const std::string& v)
{
    return Variant::FromNarrow(v);
}
Variant Ole(const OleString& v)
{
    return Variant::FromBstr(v);
}

std::int32_t RangeCheck(std::int32_t v, std::int32_t lo, std::int32_t hi)
{
    return v >= lo && v <= hi ? OPOS_SUCCESS : OPOS_E_ILLEGAL;
}

constexpr auto B = com::VarType::Bool;
constexpr auto N = com::VarType::I4;
constexpr auto S = com::VarType::Bstr;

const Property kProperties[] = {
    {msrdisp::AutoDisable, B, [](const Impl& c) { return Bool(c.p.autoDisable); }, nullptr, false,
     [](Impl& c, std::int32_t v) {
         c.p.autoDisable = v != 0;
         return OPOS_SUCCESS;
     }},
    {msrdisp::BinaryConversion, N, [](const Impl& c) { return I4(c.p.binaryConversion); },
     [](const Impl&, std::int32_t v) { return RangeCheck(v, OPOS_BC_NONE, OPOS_BC_DECIMAL); }, false,
     [](Impl& c, std::int32_t v) {
         c.p.binaryConversion = v;
         return OPOS_SUCCESS;
     }},
    {msrdisp::CapPowerReporting, N, [](const Impl& c) { return I4(c.p.service.capPowerReporting); },
     nullptr, false, nullptr},
    {msrdisp::CheckHealthText, S, [](const Impl& c) { return Str(c.p.checkHealthText); }, nullptr,
     false, nullptr},
    {msrdisp::Claimed, B, [](const Impl& c) { return Bool(c.p.claimed); }, nullptr, false, nullptr},
    {msrdisp::DataCount, N, [](const Impl& c) { return I4(c.dataCount); }, nullptr, false, nullptr},
    {msrdisp::DataEventEnabled, B, [](const Impl& c) { return Bool(c.p.dataEventEnabled); }, nullptr,
     false,
     [](Impl& c, std::int32_t v) {
         c.p.dataEventEnabled = v != 0;
         if (c.p.dataEventEnabled) {
             c.ScheduleDelivery();  // the next queued event goes out
         }
         return OPOS_SUCCESS;
     }},
    {msrdisp::DeviceEnabled, B, [](const Impl& c) { return Bool(c.p.deviceEnabled); }, nullptr, true,
     [](Impl& c, std::int32_t v) {
         if ((v != 0) == c.p.deviceEnabled) {
             return OPOS_SUCCESS;
         }
         if (v == 0) {
             c.Disable();
             return OPOS_SUCCESS;
         }
         return c.Enable();
     }},
    {msrdisp::FreezeEvents, B, [](const Impl& c) { return Bool(c.p.freezeEvents); }, nullptr, false,
     [](Impl& c, std::int32_t v) {
         c.p.freezeEvents = v != 0;
         if (!c.p.freezeEvents) {
             c.ScheduleDelivery();
         }
         return OPOS_SUCCESS;
     }},
    {msrdisp::PowerNotify, N, [](const Impl& c) { return I4(c.p.powerNotify); },
     [](const Impl& c, std::int32_t v) {
         // Only while disabled, and enabling needs the capability.
         if (c.p.deviceEnabled || v < OPOS_PN_DISABLED || v > OPOS_PN_ENABLED) {
             return OPOS_E_ILLEGAL;
         }
         if (v == OPOS_PN_ENABLED && c.p.service.capPowerReporting == OPOS_PR_NONE) {
             return OPOS_E_ILLEGAL;
         }
         return OPOS_SUCCESS;
     },
     false,
     [](Impl& c, std::int32_t v) {
         c.p.powerNotify = v;
         return OPOS_SUCCESS;
     }},
    {msrdisp::PowerState, N, [](const Impl& c) { return I4(c.p.powerState); }, nullptr, false, nullptr},
    {msrdisp::ResultCode, N, [](const Impl& c) { return I4(c.p.resultCode); }, nullptr, false, nullptr},
    {msrdisp::ResultCodeExtended, N, [](const Impl& c) { return I4(c.p.resultCodeExtended); }, nullptr,
     false, nullptr},
    {msrdisp::State, N, [](const Impl& c) { return I4(c.p.state); }, nullptr, false, nullptr},
    {msrdisp::DeviceControlDescription, S, [](const Impl&) { return Str(MsrControl::kDescription); },
     nullptr, false, nullptr},
    {msrdisp::DeviceControlVersion, N, [](const Impl&) { return I4(MsrControl::kVersion); }, nullptr,
     false, nullptr},
    {msrdisp::DeviceServiceDescription, S,
     [](const Impl& c) { return Str(c.p.service.serviceDescription); }, nullptr, false, nullptr},
    {msrdisp::DeviceServiceVersion, N, [](const Impl& c) { return I4(c.p.service.serviceVersion); },
     nullptr, false, nullptr},
    {msrdisp::PhysicalDeviceDescription, S,
     [](const Impl& c) { return Str(c.p.service.physicalDeviceDescription); }, nullptr, false, nullptr},
    {msrdisp::PhysicalDeviceName, S, [](const Impl& c) { return Str(c.p.service.physicalDeviceName); },
     nullptr, false, nullptr},
    {msrdisp::AccountNumber, S, [](const Impl& c) { return Str(c.p.parsed.accountNumber); }, nullptr,
     false, nullptr},
    {msrdisp::CapISO, B, [](const Impl& c) { return Bool(c.p.service.capISO); }, nullptr, false, nullptr},
    {msrdisp::CapJISOne, B, [](const Impl& c) { return Bool(c.p.service.capJISOne); }, nullptr, false,
     nullptr},
    {msrdisp::CapJISTwo, B, [](const Impl& c) { return Bool(c.p.service.capJISTwo); }, nullptr, false,
     nullptr},
    {msrdisp::DecodeData, B, [](const Impl& c) { return Bool(c.p.decodeData); }, nullptr, false,
     [](Impl& c, std::int32_t v) {
         // Undecoded data cannot be parsed.
         c.p.decodeData = v != 0;
         if (!c.p.decodeData) {
             c.p.parseDecodeData = false;
         }
         return OPOS_SUCCESS;
     }},
    {msrdisp::ErrorReportingType, N, [](const Impl& c) { return I4(c.p.errorReportingType); },
     [](const Impl&, std::int32_t v) { return RangeCheck(v, MSR_ERT_CARD, MSR_ERT_TRACK); }, false,
     [](Impl& c, std::int32_t v) {
         c.p.errorReportingType = v;
         return OPOS_SUCCESS;
     }},
    {msrdisp::ExpirationDate, S, [](const Impl& c) { return Str(c.p.parsed.expirationDate); }, nullptr,
     false, nullptr},
    {msrdisp::FirstName, S, [](const Impl& c) { return Str(c.p.parsed.firstName); }, nullptr, false,
     nullptr},
    {msrdisp::MiddleInitial, S, [](const Impl& c) { return Str(c.p.parsed.middleInitial); }, nullptr,
     false, nullptr},
    {msrdisp::ParseDecodeData, B, [](const Impl& c) { return Bool(c.p.parseDecodeData); }, nullptr,
     false,
     [](Impl& c, std::int32_t v) {
         // Parsing works on decoded data, so it turns decoding on.
         c.p.parseDecodeData = v != 0;
         if (c.p.parseDecodeData) {
             c.p.decodeData = true;
         }
         return OPOS_SUCCESS;
     }},
    {msrdisp::ServiceCode, S, [](const Impl& c) { return Str(c.p.parsed.serviceCode); }, nullptr, false,
     nullptr},
    {msrdisp::Suffix, S, [](const Impl& c) { return Str(c.p.parsed.suffix); }, nullptr, false, nullptr},
    {msrdisp::Surname, S, [](const Impl& c) { return Str(c.p.parsed.surname); }, nullptr, false, nullptr},
    {msrdisp::Title, S, [](const Impl& c) { return Str(c.p.parsed.title); }, nullptr, false, nullptr},
    {msrdisp::Track1Data, S, [](const Impl& c) { return Ole(c.p.trackData[0]); }, nullptr, false,
     nullptr},
    {msrdisp::Track1DiscretionaryData, S, [](const Impl& c) { return Ole(c.p.track1Discretionary); },
     nullptr, false, nullptr},
    {msrdisp::Track2Data, S, [](const Impl& c) { return Ole(c.p.trackData[1]); }, nullptr, false,
     nullptr},
    {msrdisp::Track2DiscretionaryData, S, [](const Impl& c) { return Ole(c.p.track2Discretionary); },
     nullptr, false, nullptr},
    {msrdisp::Track3Data, S, [](const Impl& c) { return Ole(c.p.trackData[2]); }, nullptr, false,
     nullptr},
    {msrdisp::TracksToRead, N, [](const Impl& c) { return I4(c.p.tracksToRead); },
     [](const Impl&, std::int32_t v) {
         return v != 0 && (v & ~kAllTracks) == 0 ? OPOS_SUCCESS : OPOS_E_ILLEGAL;
     },
     false,
     [](Impl& c, std::int32_t v) {
         c.p.tracksToRead = v;
         return OPOS_SUCCESS;
     }},
    {msrdisp::CapTransmitSentinels, B, [](const Impl& c) { return Bool(c.p.service.capTransmitSentinels); },
     nullptr, false, nullptr},
    {msrdisp::Track4Data, S, [](const Impl& c) { return Ole(c.p.trackData[3]); }, nullptr, false,
     nullptr},
    {msrdisp::TransmitSentinels, B, [](const Impl& c) { return Bool(c.p.transmitSentinels); },
     [](const Impl& c, std::int32_t v) {
         return v != 0 && !c.p.service.capTransmitSentinels ? OPOS_E_ILLEGAL : OPOS_SUCCESS;
     },
     false,
     [](Impl& c, std::int32_t v) {
         c.p.transmitSentinels = v != 0;
         return OPOS_SUCCESS;
     }},
};

const Property* FindProperty(std::int32_t dispid)
{
    for (const Property& prop : kProperties) {
        if (prop.dispid == dispid) {
            return &prop;
        }
    }
    return nullptr;
}

bool IsNumber(const Variant& v)
{
    return v.is(com::VarType::I4) || v.is(com::VarType::Bool);
}

// Reads an I4 argument that may also come by reference.
bool ArgI4(const Variant& v, std::int32_t& out)
{
    if (IsNumber(v)) {
        out = ToI4(v);
        return true;
    }
    if (v.is(com::VarType::ByRefI4) && v.refI4()) {
        out = *v.refI4();
        return true;
    }
    return false;
}

}  // namespace

// ---- MsrControl -------------------------------------------------------------

MsrControl::MsrControl() : impl_(std::make_unique<Impl>()) {}

MsrControl::~MsrControl() = default;

void MsrControl::Advise(com::IEventSink* sink)
{
    impl_->sink = sink;
}

void MsrControl::WaitForDeviceThreads()
{
    DeviceThread::WaitAllIdle();
}

com::HResult MsrControl::Invoke(std::int32_t dispid, com::InvokeKind kind,
                                std::span<const com::Variant> args, com::Variant* result)
{
    Impl& c = *impl_;
    auto answer = [&](std::int32_t rc) {
        c.p.resultCode = rc;
        c.p.resultCodeExtended = 0;
        if (result) {
            *result = Variant::FromI4(rc);
        }
        return com::S_OK;
    };

    if (kind == com::InvokeKind::PropertyGet) {
        const Property* prop = FindProperty(dispid);
        if (!prop) {
            return com::DISP_E_MEMBERNOTFOUND;
        }
        if (!args.empty()) {
            return com::DISP_E_BADPARAMCOUNT;
        }
        if (result) {
            *result = prop->get(c);
        }
        return com::S_OK;
    }

    if (kind == com::InvokeKind::PropertyPut) {
        const Property* prop = FindProperty(dispid);
        if (!prop || !prop->apply) {
            return com::DISP_E_MEMBERNOTFOUND;
        }
        if (args.size() != 1) {
            return com::DISP_E_BADPARAMCOUNT;
        }
        if (!IsNumber(args[0])) {
            return com::DISP_E_TYPEMISMATCH;
        }
        const std::int32_t v = ToI4(args[0]);
        std::int32_t rc = OPOS_SUCCESS;
        if (!c.open) {
            rc = OPOS_E_CLOSED;
        } else if (prop->check && (rc = prop->check(c, v)) != OPOS_SUCCESS) {
            // refused by the capability or range check
        } else if (prop->needsClaim && !c.p.claimed) {
            rc = OPOS_E_NOTCLAIMED;
        } else {
            rc = prop->apply(c, v);
        }
        c.p.resultCode = rc;
        c.p.resultCodeExtended = 0;
        if (result) {
            *result = Variant();
        }
        return com::S_OK;
    }

    if (kind != com::InvokeKind::Method) {
        return com::DISP_E_MEMBERNOTFOUND;
    }
    auto needArgs = [&](std::size_t n) { return args.size() == n; };
    std::int32_t n = 0;
    switch (dispid) {
    case msrdisp::Open:
        if (!needArgs(1)) {
            return com::DISP_E_BADPARAMCOUNT;
        }
        if (!args[0].is(com::VarType::Bstr)) {
            return com::DISP_E_TYPEMISMATCH;
        }
        return answer(c.Open(com::NarrowFromOle(args[0].bstr())));
    case msrdisp::Close:
        if (!needArgs(0)) {
            return com::DISP_E_BADPARAMCOUNT;
        }
        return answer(c.CloseDevice());
    case msrdisp::ClaimDevice:
        if (!needArgs(1)) {
            return com::DISP_E_BADPARAMCOUNT;
        }
        if (!ArgI4(args[0], n)) {
            return com::DISP_E_TYPEMISMATCH;
        }
        return answer(c.Claim(n));
    case msrdisp::ReleaseDevice:
        if (!needArgs(0)) {
            return com::DISP_E_BADPARAMCOUNT;
        }
        return answer(c.Release());
    case msrdisp::ClearInput:
        if (!needArgs(0)) {
            return com::DISP_E_BADPARAMCOUNT;
        }
        return answer(c.ClearInput());
    case msrdisp::CheckHealth:
        if (!needArgs(1)) {
            return com::DISP_E_BADPARAMCOUNT;
        }
        if (!ArgI4(args[0], n)) {
            return com::DISP_E_TYPEMISMATCH;
        }
        return answer(c.CheckHealth(n));
    case msrdisp::DirectIO: {
        if (!needArgs(3)) {
            return com::DISP_E_BADPARAMCOUNT;
        }
        std::int32_t data = 0;
        const bool textIn = args[2].is(com::VarType::Bstr) || args[2].is(com::VarType::ByRefBstr);
        if (!ArgI4(args[0], n) || !ArgI4(args[1], data) || !textIn) {
            return com::DISP_E_TYPEMISMATCH;
        }
        std::string text = com::NarrowFromOle(args[2].refBstr() ? *args[2].refBstr() : args[2].bstr());
        const std::int32_t rc = c.DirectIO(n, data, text);
        if (std::int32_t* out = args[1].refI4()) {
            *out = data;
        }
        if (com::OleString* out = args[2].refBstr()) {
            *out = com::OleFromNarrow(text);
        }
        return answer(rc);
    }
    default:
        return com::DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace opos
