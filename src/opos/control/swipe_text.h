// A swipe as text: readers in ASCII mode (serial, USB-CDC, keyboard wedge)
// send the decoded tracks of a card, each between its sentinels, and end the
// swipe with a terminator:
//
//   %B4111111111111111^DOE/JOHN^2512101000000?;4111111111111111=2512101?<CR>
//
// Track 1 starts with '%'; the first ';' track is track 2 and a second one
// track 3; '+' and '!' also start track 3 (some readers mark it so; a reader
// that leaves track 2 out must mark track 3 so, or it is taken for track 2). A track
// the reader could not read comes as "E" between its sentinels ("%E?",
// ";E?", "+E?"); a track the card does not hold is left out.
//
// Each good track is turned back into raw stripe bytes with the card codec,
// so the control's usual decoding (DecodeData, sentinels, BinaryConversion,
// parsing) applies to it as to any other reader's data. The reader tells only
// that a track failed, not why; such a track is recorded with a wrong LRC
// character, the check that covers the whole track, and so is reported as
// OPOS_EMSR_LRC (204).
#pragma once

#include "opos/control/msr_service.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace opos {

// What ends a swipe.
//   CR   (the default) a CR or a LF; empty swipes are ignored, so readers
//        ending with CR, LF or CR LF all work.
//   LF   a LF; a CR is ignored wherever it comes.
//   CRLF a CR followed by a LF; a lone CR or LF is a bad character.
enum class SwipeTerminator { CR, LF, CRLF };

// Reads "CR", "LF" or "CRLF" (any case). False for anything else.
bool ParseSwipeTerminator(std::string_view text, SwipeTerminator& out);

// One swipe's text, parsed.
struct SwipeText {
    bool ok = false;
    std::string error;  // why the text is not a swipe; empty when ok
    RawCard card;       // the recorded tracks; all empty unless ok
};

// Parses the text of one swipe (without its terminator). Fails with a
// specific message for a byte outside any track, a track without its end
// sentinel, a track given twice, more than three tracks, data that its track
// cannot hold, or no track at all. Never throws.
SwipeText ParseSwipeText(std::string_view text);

// Cuts a stream of bytes into swipes at the terminator and parses each one.
// A swipe longer than kMaxSwipeBytes is reported as failed at once and the
// bytes up to the next terminator are dropped.
class SwipeAssembler {
public:
    static constexpr std::size_t kMaxSwipeBytes = 1024;
    using Sink = std::function<void(const SwipeText&)>;

    explicit SwipeAssembler(SwipeTerminator terminator = SwipeTerminator::CR) : terminator_(terminator) {}

    // Takes the next bytes; calls sink for every swipe they complete.
    void Feed(std::string_view bytes, const Sink& sink);
    // Drops a swipe begun but not ended.
    void Reset();
    // True when a swipe has begun and not ended.
    bool Pending() const { return !buffer_.empty() || overflowed_ || sawCr_; }

private:
    void Append(char ch, const Sink& sink);
    void End(const Sink& sink);

    SwipeTerminator terminator_;
    std::string buffer_;
    bool overflowed_ = false;  // dropping bytes until the next terminator
    bool sawCr_ = false;       // CRLF: the last byte was a CR
};

// Hands a swipe to the listener: OnCardRead for a parsed card, OnReadFailure
// (with the parser's message) otherwise.
void ReportSwipe(const SwipeText& swipe, MsrServiceListener& listener);

}  // namespace opos
