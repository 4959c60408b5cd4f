// Text forms of undecoded track data.
#include "opos/codec/binary_conversion.h"

namespace opos::codec {

std::string ToNibbleText(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        text.push_back(static_cast<char>(0x30 + (b >> 4)));
        text.push_back(static_cast<char>(0x30 + (b & 0x0F)));
    }
    return text;
}

std::string ToDecimalText(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t b : bytes) {
        text.push_back(static_cast<char>('0' + b / 100));
        text.push_back(static_cast<char>('0' + b / 10 % 10));
        text.push_back(static_cast<char>('0' + b % 10));
    }
    return text;
}

std::string ToBinaryText(BinaryConversion conversion, std::span<const std::uint8_t> bytes)
{
    switch (conversion) {
    case BinaryConversion::Nibble: return ToNibbleText(bytes);
    case BinaryConversion::Decimal: return ToDecimalText(bytes);
    case BinaryConversion::None: break;
    }
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace opos::codec
