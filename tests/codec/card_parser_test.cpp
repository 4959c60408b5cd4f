// Tests of the bank-card track parser: name field parts, track 1 formats A and
// B, track 2, absent and malformed fields, and how the two tracks combine.
#include "opos/codec/card_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace opos::codec {
namespace {

std::string Describe(const CardName& n)
{
    return "surname=\"" + n.surname + "\" first=\"" + n.firstName + "\" middle=\"" + n.middleInitial
           + "\" title=\"" + n.title + "\" suffix=\"" + n.suffix + "\"";
}

std::string Describe(const ParsedCard& c)
{
    return "account=\"" + c.accountNumber + "\" expires=\"" + c.expirationDate + "\" surname=\"" + c.surname
           + "\" first=\"" + c.firstName + "\" middle=\"" + c.middleInitial + "\" title=\"" + c.title
           + "\" suffix=\"" + c.suffix + "\" service=\"" + c.serviceCode + "\" disc1=\"" + c.track1Discretionary
           + "\" disc2=\"" + c.track2Discretionary + "\"";
}

struct NameRow {
    std::string name;
    CardName expected;
};

TEST(CardParser, SplitsNameFields)
{
    const NameRow rows[] = {
        {"DOE/JOHN Q.MR", {"DOE", "JOHN", "Q", "MR", ""}},
        {"DOE/JOHN", {"DOE", "JOHN", "", "", ""}},
        {"DOE/JOHN Q", {"DOE", "JOHN", "Q", "", ""}},
        {"DOE/JOHN.DR", {"DOE", "JOHN", "", "DR", ""}},
        {"DOE JR/JOHN", {"DOE", "JOHN", "", "", "JR"}},
        {"DOE III/JOHN Q.DR", {"DOE", "JOHN", "Q", "DR", "III"}},
        {"DOE SR./JOHN", {"DOE", "JOHN", "", "", "SR"}},
        {"VAN DER BERG/ANNA", {"VAN DER BERG", "ANNA", "", "", ""}},
        {"JR/JOHN", {"JR", "JOHN", "", "", ""}},
        {"DOE/JOHN Q.MR      ", {"DOE", "JOHN", "Q", "MR", ""}},
        {"DOE/JOHN        ", {"DOE", "JOHN", "", "", ""}},
        {"DOE  JR /  JOHN   Q  . MR ", {"DOE", "JOHN", "Q", "MR", "JR"}},
        {"DOE/JOHN QUINCY ADAMS", {"DOE", "JOHN", "QUINCY ADAMS", "", ""}},
        {"DOE", {"DOE", "", "", "", ""}},
        {"DOE II", {"DOE", "", "", "", "II"}},
        {"DOE/", {"DOE", "", "", "", ""}},
        {"/JOHN", {"", "JOHN", "", "", ""}},
        {"DOE/.MR", {"DOE", "", "", "MR", ""}},
        {"/", {}},
        {"", {}},
        {"                          ", {}},
        {"A/B/C.D.E", {"A", "B/C", "", "D.E", ""}},
    };
    for (const NameRow& row : rows) {
        SCOPED_TRACE("\"" + row.name + "\"");
        EXPECT_EQ(Describe(ParseName(row.name)), Describe(row.expected));
    }
}

struct TracksRow {
    const char* name;
    std::string track1, track2;
    ParsedCard expected;
};

TEST(CardParser, ParsesTracksOneAndTwo)
{
    // Fields: account, expires, surname, first, middle, title, suffix, service, disc1, disc2.
    const TracksRow rows[] = {
        {"both tracks", "B4111111111111111^DOE/JOHN Q.MR^2512101123456789", "4111111111111111=25121011234567890",
         {"4111111111111111", "2512", "DOE", "JOHN", "Q", "MR", "", "101", "123456789", "1234567890"}},
        {"format A", "A5500000000000004^SMITH JR/ANN^2801201^^77", "",
         {"5500000000000004", "2801", "SMITH", "ANN", "", "", "JR", "201", "^^77", ""}},
        {"track 1 only", "B123^DOE/J^2512101", "", {"123", "2512", "DOE", "J", "", "", "", "101", "", ""}},
        {"track 2 only", "", "6011000990139424=2612", {"6011000990139424", "2612", "", "", "", "", "", "", "", ""}},
        {"track 1 wins over track 2", "B111^DOE/J^2512101X", "222=27019991",
         {"111", "2512", "DOE", "J", "", "", "", "101", "X", "1"}},
        {"absent date filled from track 2", "B123^DOE/J^^101abc", "123=2512999",
         {"123", "2512", "DOE", "J", "", "", "", "101", "abc", ""}},
        {"absent date and service code", "B123^DOE/J^^^xyz", "123==",
         {"123", "", "DOE", "J", "", "", "", "", "xyz", ""}},
        {"track 2 absent date", "", "123==101", {"123", "", "", "", "", "", "", "101", "", ""}},
        {"track 2 absent date with discretionary", "", "123==1014", {"123", "", "", "", "", "", "", "101", "", "4"}},
        {"track 2 absent date, present code", "", "123=2512=77", {"123", "2512", "", "", "", "", "", "", "", "77"}},
        {"longest account and name", "B1234567890123456789^ABCDEFGHIJKLMNOPQRSTUVWX/Y^2512", "",
         {"1234567890123456789", "2512", "ABCDEFGHIJKLMNOPQRSTUVWX", "Y", "", "", "", "", "", ""}},
        {"empty name", "B123^^2512101", "", {"123", "2512", "", "", "", "", "", "101", "", ""}},
        // Malformed track 1: the whole track is ignored, track 2 still counts.
        {"track 1 without second separator", "B123^DOE/J", "123=2512101",
         {"123", "2512", "", "", "", "", "", "101", "", ""}},
        {"track 1 without separators", "B1232512101", "", {}},
        {"unknown format code", "C123^DOE/J^2512101", "", {}},
        {"sentinel left on track 1", "%B123^DOE/J^2512101?", "", {}},
        {"account of 20 digits", "B12345678901234567890^DOE/J^2512", "", {}},
        {"account with a letter", "B12A4^DOE/J^2512", "", {}},
        {"empty account", "B^DOE/J^2512", "", {}},
        {"name of 27 characters", "B123^ABCDEFGHIJKLMNOPQRSTUVWXY/Z^2512", "", {}},
        // Malformed date or service code: it and what follows are empty.
        {"date with a letter", "B123^DOE/J^25A1101", "", {"123", "", "DOE", "J", "", "", "", "", "", ""}},
        {"date cut short", "B123^DOE/J^25", "", {"123", "", "DOE", "J", "", "", "", "", "", ""}},
        {"nothing after the name", "B123^DOE/J^", "", {"123", "", "DOE", "J", "", "", "", "", "", ""}},
        {"service code with a letter", "B123^DOE/J^2512X01abc", "", {"123", "2512", "DOE", "J", "", "", "", "", "", ""}},
        {"track 2 date cut short", "", "123=25", {"123", "", "", "", "", "", "", "", "", ""}},
        // Malformed track 2.
        {"track 2 without separator", "", "1234567890", {}},
        {"track 2 empty account", "", "=2512101", {}},
        {"track 2 account of 20 digits", "", "12345678901234567890=2512", {}},
        {"track 2 account with a separator char", "", "12:4=2512", {}},
        {"nothing", "", "", {}},
        {"separators only", "^^^^", "====", {}},
    };
    for (const TracksRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Describe(ParseTracks(row.track1, row.track2)), Describe(row.expected));
    }
}

}  // namespace
}  // namespace opos::codec
