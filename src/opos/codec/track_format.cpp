// Character sets of the magnetic stripe tracks.
#include "opos/codec/track_format.h"

#include <bit>

namespace opos::codec {

namespace {

// Track 1: 6-bit alphanumeric, characters 0x20..0x5F, up to 79 characters.
constexpr TrackFormat kTrack1{Track::T1, 6, 0x3F, 0x40, ' ', '%', '?', '^', 79};
// Track 2: 4-bit numeric, characters 0x30..0x3F, up to 40 characters.
constexpr TrackFormat kTrack2{Track::T2, 4, 0x0F, 0x10, '0', ';', '?', '=', 40};
// Track 3: like track 2, up to 107 characters.
constexpr TrackFormat kTrack3{Track::T3, 4, 0x0F, 0x10, '0', ';', '?', '=', 107};
// Track 4: treated like track 3.
constexpr TrackFormat kTrack4{Track::T4, 4, 0x0F, 0x10, '0', ';', '?', '=', 107};

}  // namespace

bool TrackFormat::HasChar(char ch) const
{
    const int code = static_cast<unsigned char>(ch) - static_cast<unsigned char>(firstChar);
    return code >= 0 && code <= dataMask;
}

std::uint8_t TrackFormat::ToRaw(char ch) const
{
    return WithParity(CodeOf(ch));
}

std::uint8_t TrackFormat::WithParity(std::uint8_t code) const
{
    const auto data = static_cast<std::uint8_t>(code & dataMask);
    // Odd parity: the parity bit is set when the data bits hold an even number of ones.
    return std::popcount(data) % 2 == 0 ? static_cast<std::uint8_t>(data | parityBit) : data;
}

bool TrackFormat::IsValidRaw(std::uint8_t raw) const
{
    const auto allowed = static_cast<std::uint8_t>(dataMask | parityBit);
    return (raw & ~allowed) == 0 && std::popcount(raw) % 2 == 1;
}

char TrackFormat::ToChar(std::uint8_t raw) const
{
    return static_cast<char>(firstChar + (raw & dataMask));
}

const TrackFormat* FormatOf(Track t)
{
    switch (t) {
    case Track::T1: return &kTrack1;
    case Track::T2: return &kTrack2;
    case Track::T3: return &kTrack3;
    case Track::T4: return &kTrack4;
    }
    return nullptr;
}

}  // namespace opos::codec
