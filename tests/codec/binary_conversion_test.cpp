// Tests of the nibble and decimal text forms of undecoded track data.
#include "opos/codec/binary_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace opos::codec {
namespace {

struct ConversionRow {
    std::vector<std::uint8_t> bytes;
    std::string nibble, decimal;
};

TEST(BinaryConversion, ConvertsEachByteToNibblesAndDecimalDigits)
{
    const ConversionRow rows[] = {
        {{}, "", ""},
        {{0x00}, "00", "000"},
        {{0xFF}, "??", "255"},
        {{0x3A, 0x05}, "3:05", "058005"},
        {{0x9C, 0x64, 0x0A}, "9<640:", "156100010"},
        {{0x0B, 0x01, 0x1F, 0x15}, "0;011?15", "011001031021"},
    };
    for (const ConversionRow& row : rows) {
        SCOPED_TRACE("\"" + row.nibble + "\"");
        EXPECT_EQ(ToNibbleText(row.bytes), row.nibble);
        EXPECT_EQ(ToDecimalText(row.bytes), row.decimal);
        EXPECT_EQ(ToBinaryText(BinaryConversion::Nibble, row.bytes), row.nibble);
        EXPECT_EQ(ToBinaryText(BinaryConversion::Decimal, row.bytes), row.decimal);
    }
}

TEST(BinaryConversion, NoneAndUnknownValuesCopyTheBytes)
{
    const std::vector<std::uint8_t> bytes{0x45, 0x00, 0xFF};
    const std::string copied("\x45\x00\xFF", 3);
    EXPECT_EQ(ToBinaryText(BinaryConversion::None, bytes), copied);
    EXPECT_EQ(ToBinaryText(static_cast<BinaryConversion>(7), bytes), copied);
}

}  // namespace
}  // namespace opos::codec
