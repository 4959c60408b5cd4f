// libFuzzer target for the swipe text that serial and keyboard-wedge readers
// send: arbitrary bytes go through the swipe assembler with each terminator.
// Every swipe is either a card whose tracks decode cleanly (or, for a track
// sent as "E", with an LRC error) or a failure with a reason and no tracks.
#include "opos/codec/track_codec.h"
#include "opos/control/swipe_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void CheckSwipe(const opos::SwipeText& swipe)
{
    if (!swipe.ok) {
        Check(!swipe.error.empty());
        for (const auto& track : swipe.card.tracks) {
            Check(track.empty());
        }
        return;
    }
    Check(swipe.error.empty());
    bool any = false;
    for (std::size_t t = 0; t < swipe.card.tracks.size(); ++t) {
        const auto& raw = swipe.card.tracks[t];
        any = any || !raw.empty();
        const auto decoded = opos::codec::DecodeTrack(static_cast<opos::codec::Track>(t + 1), raw);
        Check(decoded.error == opos::codec::TrackError::None || decoded.error == opos::codec::TrackError::Lrc);
    }
    Check(any);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckSwipe(opos::ParseSwipeText(bytes));
    for (const auto terminator :
         {opos::SwipeTerminator::CR, opos::SwipeTerminator::LF, opos::SwipeTerminator::CRLF}) {
        opos::SwipeAssembler assembler(terminator);
        // Fed in two pieces, as reads split a stream anywhere.
        const std::size_t cut = size / 2;
        assembler.Feed(bytes.substr(0, cut), CheckSwipe);
        assembler.Feed(bytes.substr(cut), CheckSwipe);
        assembler.Reset();
        Check(!assembler.Pending());
    }
    return 0;
}
