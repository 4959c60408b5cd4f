// Parsing of a swipe's text into raw tracks, and cutting a byte stream into
// swipes.
#include "opos/control/swipe_text.h"

#include "opos/codec/track_codec.h"

#include <array>
#include <cstdio>

namespace opos {

namespace {

// A character as a message shows it: quoted when printable, else its code.
std::string Describe(char ch)
{
    const auto byte = static_cast<unsigned char>(ch);
    if (byte >= 0x20 && byte < 0x7F) {
        return std::string("'") + ch + "'";
    }
    std::array<char, 8> hex{};
    std::snprintf(hex.data(), hex.size(), "0x%02X", byte);
    return std::string("byte ") + hex.data();
}

SwipeText Fail(std::string why)
{
    SwipeText s;
    s.error = std::move(why);
    return s;
}

bool IsStart(char ch)
{
    return ch == '%' || ch == ';' || ch == '+' || ch == '!';
}

}  // namespace

bool ParseSwipeTerminator(std::string_view text, SwipeTerminator& out)
{
    std::string upper(text);
    for (char& ch : upper) {
        if (ch >= 'a' && ch <= 'z') {
            ch = static_cast<char>(ch - 'a' + 'A');
        }
    }
    if (upper == "CR") {
        out = SwipeTerminator::CR;
    } else if (upper == "LF") {
        out = SwipeTerminator::LF;
    } else if (upper == "CRLF") {
        out = SwipeTerminator::CRLF;
    } else {
        return false;
    }
    return true;
}

SwipeText ParseSwipeText(std::string_view text)
{
    SwipeText result;
    std::array<bool, 3> seen{};
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char start = text[pos];
        if (!IsStart(start)) {
            return Fail("unexpected " + Describe(start) + " at position " + std::to_string(pos + 1) +
                        " outside a track; a track starts with '%', ';' or '+'");
        }
        const std::size_t end = text.find('?', pos + 1);
        if (end == std::string_view::npos) {
            return Fail("the track starting with '" + std::string(1, start) + "' at position " +
                        std::to_string(pos + 1) + " has no end sentinel '?'");
        }
        int track = 1;
        if (start == ';') {
            track = seen[1] || seen[2] ? 3 : 2;
        } else if (start != '%') {
            track = 3;
        }
        const auto index = static_cast<std::size_t>(track - 1);
        if (seen[index]) {
            return Fail(track == 3 ? "more than three tracks in one swipe"
                                   : "track " + std::to_string(track) + " appears twice in one swipe");
        }
        seen[index] = true;
        const std::string_view body = text.substr(pos + 1, end - pos - 1);
        const auto t = static_cast<codec::Track>(track);
        codec::EncodeResult r = body == "E" ? codec::EncodeTrack(t, "", codec::Corruption::Lrc)
                                            : codec::EncodeTrack(t, body);
        if (!r.ok) {
            return Fail(r.error);
        }
        result.card.tracks[index] = std::move(r.raw);
        pos = end + 1;
    }
    if (!seen[0] && !seen[1] && !seen[2]) {
        return Fail("the swipe holds no track");
    }
    result.ok = true;
    return result;
}

void SwipeAssembler::Feed(std::string_view bytes, const Sink& sink)
{
    for (const char ch : bytes) {
        switch (terminator_) {
        case SwipeTerminator::CR:
            if (ch == '\r' || ch == '\n') {
                End(sink);
                continue;
            }
            break;
        case SwipeTerminator::LF:
            if (ch == '\r') {
                continue;
            }
            if (ch == '\n') {
                End(sink);
                continue;
            }
            break;
        case SwipeTerminator::CRLF:
            if (sawCr_) {
                sawCr_ = false;
                if (ch == '\n') {
                    End(sink);
                    continue;
                }
                Append('\r', sink);
            }
            if (ch == '\r') {
                sawCr_ = true;
                continue;
            }
            break;
        }
        Append(ch, sink);
    }
}

void SwipeAssembler::Reset()
{
    buffer_.clear();
    overflowed_ = false;
    sawCr_ = false;
}

void SwipeAssembler::Append(char ch, const Sink& sink)
{
    if (overflowed_) {
        return;
    }
    if (buffer_.size() >= kMaxSwipeBytes) {
        buffer_.clear();
        overflowed_ = true;
        sink(Fail("more than " + std::to_string(kMaxSwipeBytes) +
                  " bytes without a terminator; the rest up to the next terminator is dropped"));
        return;
    }
    buffer_.push_back(ch);
}

void SwipeAssembler::End(const Sink& sink)
{
    const bool wasOverflowed = overflowed_;
    std::string text;
    text.swap(buffer_);
    Reset();
    if (wasOverflowed || text.empty()) {
        return;  // already reported, or an empty line between swipes
    }
    sink(ParseSwipeText(text));
}

void ReportSwipe(const SwipeText& swipe, MsrServiceListener& listener)
{
    if (swipe.ok) {
        listener.OnCardRead(swipe.card);
    } else {
        listener.OnReadFailure(swipe.error);
    }
}

}  // namespace opos
