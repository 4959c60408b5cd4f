// Encoding and decoding of single stripe tracks.
#include "opos/codec/track_codec.h"

#include <algorithm>
#include <utility>

namespace opos::codec {

namespace {

std::string Printable(char ch)
{
    const auto byte = static_cast<unsigned char>(ch);
    if (byte >= 0x20 && byte < 0x7F) {
        return std::string("'") + ch + "'";
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 0x0F];
}

EncodeResult Fail(std::string message)
{
    EncodeResult r;
    r.error = std::move(message);
    return r;
}

DecodeResult Fault(TrackError e, std::size_t position)
{
    DecodeResult r;
    r.error = e;
    r.position = position;
    return r;
}

// XOR of the data bits of raw[0..count).
std::uint8_t Lrc(const TrackFormat& f, std::span<const std::uint8_t> raw, std::size_t count)
{
    std::uint8_t lrc = 0;
    for (std::size_t i = 0; i < count; ++i) {
        lrc = static_cast<std::uint8_t>(lrc ^ (raw[i] & f.dataMask));
    }
    return lrc;
}

}  // namespace

EncodeResult EncodeTrack(Track t, std::string_view data, Corruption c, std::size_t parityIndex)
{
    const TrackFormat* f = FormatOf(t);
    if (f == nullptr) {
        return Fail("unknown track " + std::to_string(static_cast<int>(t)));
    }
    const std::string name = "track " + std::to_string(static_cast<int>(t));
    if (data.size() > f->MaxDataLength()) {
        return Fail(name + " data is " + std::to_string(data.size()) + " characters long; at most "
                    + std::to_string(f->MaxDataLength()) + " fit between the sentinels");
    }
    for (std::size_t i = 0; i < data.size(); ++i) {
        const char ch = data[i];
        if (!f->HasChar(ch)) {
            const char last = static_cast<char>(f->firstChar + f->dataMask);
            return Fail(name + " cannot hold " + Printable(ch) + " at position " + std::to_string(i + 1)
                        + "; its characters run from '" + f->firstChar + "' to '" + last + "'");
        }
        if (ch == f->endSentinel) {
            return Fail(name + " data holds the end sentinel '" + f->endSentinel + "' at position "
                        + std::to_string(i + 1));
        }
    }

    std::vector<std::uint8_t> raw;
    raw.reserve(data.size() + 3);
    raw.push_back(f->ToRaw(f->startSentinel));
    for (const char ch : data) {
        raw.push_back(f->ToRaw(ch));
    }
    raw.push_back(f->ToRaw(f->endSentinel));
    raw.push_back(f->WithParity(Lrc(*f, raw, raw.size())));

    switch (c) {
    case Corruption::None:
        break;
    case Corruption::Start:
        // Code 0 (blank or '0') is never the start sentinel.
        raw.front() = f->WithParity(0);
        break;
    case Corruption::End:
        raw.resize(raw.size() - 2);
        break;
    case Corruption::Parity:
        if (parityIndex >= raw.size()) {
            return Fail("parity fault at character " + std::to_string(parityIndex) + " is past the end of "
                        + name + ", which has " + std::to_string(raw.size()) + " characters");
        }
        raw[parityIndex] = static_cast<std::uint8_t>(raw[parityIndex] ^ f->parityBit);
        break;
    case Corruption::Lrc:
        raw.back() = f->WithParity(static_cast<std::uint8_t>(raw.back() ^ 1U));
        break;
    }

    EncodeResult r;
    r.ok = true;
    r.raw = std::move(raw);
    return r;
}

DecodeResult DecodeTrack(Track t, std::span<const std::uint8_t> raw)
{
    const TrackFormat* f = FormatOf(t);
    if (f == nullptr) {
        return Fault(TrackError::Start, 0);
    }
    if (raw.empty()) {
        return {};
    }
    const auto sentinelBits = static_cast<std::uint8_t>(~f->parityBit);
    if ((raw[0] & sentinelBits) != f->CodeOf(f->startSentinel)) {
        return Fault(TrackError::Start, 0);
    }

    // The end sentinel must leave room for the LRC character within the track's length.
    const std::size_t searchEnd = std::min(raw.size(), f->maxCharacters - 1);
    const std::uint8_t endCode = f->CodeOf(f->endSentinel);
    std::size_t end = 1;
    while (end < searchEnd && (raw[end] & sentinelBits) != endCode) {
        ++end;
    }
    if (end == searchEnd) {
        return Fault(TrackError::End, searchEnd);
    }
    const std::size_t length = std::min(raw.size(), end + 2);
    if (raw.size() > length) {
        return Fault(TrackError::End, length);
    }

    for (std::size_t i = 0; i < length; ++i) {
        if (!f->IsValidRaw(raw[i])) {
            return Fault(TrackError::Parity, i);
        }
    }
    if (length == end + 1) {
        return Fault(TrackError::Lrc, length);
    }
    if ((raw[end + 1] & f->dataMask) != Lrc(*f, raw, end + 1)) {
        return Fault(TrackError::Lrc, end + 1);
    }

    DecodeResult r;
    r.data.reserve(end - 1);
    for (std::size_t i = 1; i < end; ++i) {
        r.data.push_back(f->ToChar(raw[i]));
    }
    r.withSentinels = f->startSentinel + r.data + f->endSentinel;
    return r;
}

}  // namespace opos::codec
