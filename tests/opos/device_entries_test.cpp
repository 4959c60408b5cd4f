// The device entries of the registry store and the simulated reader's
// built-in cards.
#include "opos_fixture.h"

#include "opos/codec/card_parser.h"
#include "opos/codec/track_codec.h"

#include <fstream>

namespace opostest {
namespace {

using DeviceEntriesTest = OposTest;

TEST_F(DeviceEntriesTest, SetListShowRemove)
{
    opos::DeviceEntries entries;
    ASSERT_TRUE(entries.Set({"Serial1", "Strivo.SerialMSR", {{"Port", "/dev/ttyUSB0"}, {"Baud", "9600"}}}).ok);
    std::vector<opos::DeviceEntry> all;
    ASSERT_TRUE(entries.List(all).ok);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].logicalName, "QuellorUSBMiniMSR");
    EXPECT_EQ(all[0].service, "Strivo.SimulatedMSR");
    EXPECT_EQ(all[1].logicalName, "Serial1");

    // Set replaces the settings as a whole.
    ASSERT_TRUE(entries.Set({"serial1", "Strivo.SerialMSR", {{"Port", "/dev/ttyACM0"}}}).ok);
    std::optional<opos::DeviceEntry> found;
    ASSERT_TRUE(entries.Find("SERIAL1", found).ok);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->settings, (opos::ServiceSettings{{"Port", "/dev/ttyACM0"}}));

    bool removed = false;
    ASSERT_TRUE(entries.Remove("Serial1", removed).ok);
    EXPECT_TRUE(removed);
    ASSERT_TRUE(entries.Remove("Serial1", removed).ok);
    EXPECT_FALSE(removed);
    ASSERT_TRUE(entries.Find("Serial1", found).ok);
    EXPECT_FALSE(found.has_value());
}

TEST_F(DeviceEntriesTest, EnsureDefaultLeavesAnExistingEntryAlone)
{
    opos::DeviceEntries entries;
    bool created = true;
    ASSERT_TRUE(entries.EnsureDefault(created).ok);
    EXPECT_FALSE(created) << "the fixture made it already";
    ASSERT_TRUE(entries.Set({"QuellorUSBMiniMSR", "Strivo.SerialMSR", {}}).ok);
    ASSERT_TRUE(entries.EnsureDefault(created).ok);
    EXPECT_FALSE(created);
    std::optional<opos::DeviceEntry> found;
    ASSERT_TRUE(entries.Find("QuellorUSBMiniMSR", found).ok);
    EXPECT_EQ(found->service, "Strivo.SerialMSR");
}

TEST_F(DeviceEntriesTest, BadNamesAreRefused)
{
    opos::DeviceEntries entries;
    for (const char* name : {"", "a\\b", "tab\there"}) {
        SCOPED_TRACE(name);
        reg::Status s = entries.Set({name, "Strivo.SimulatedMSR", {}});
        EXPECT_FALSE(s.ok);
        EXPECT_FALSE(s.message.empty());
    }
    EXPECT_FALSE(entries.Set({"ok", "svc", {{"", "v"}}}).ok) << "a setting without a name";
}

TEST_F(DeviceEntriesTest, DamagedStoreIsReportedNotReplaced)
{
    {
        std::ofstream out(reg::Store::DefaultPath(), std::ios::trunc);
        out << "garbage\n";
    }
    opos::DeviceEntries entries;
    std::vector<opos::DeviceEntry> all;
    EXPECT_FALSE(entries.List(all).ok);
    bool created = false;
    EXPECT_FALSE(entries.EnsureDefault(created).ok);
    EXPECT_FALSE(created);
}

TEST(TestCards, BankCardsAreLuhnValidAndEncodable)
{
    for (const opos::TestCard& card : opos::BuiltInTestCards()) {
        SCOPED_TRACE(card.label);
        for (int t = 1; t <= 4; ++t) {
            const std::string& data = card.tracks[static_cast<std::size_t>(t - 1)];
            if (!data.empty()) {
                auto r = opos::codec::EncodeTrack(static_cast<opos::codec::Track>(t), data);
                EXPECT_TRUE(r.ok) << "track " << t << ": " << r.error;
            }
        }
        const auto parsed = opos::codec::ParseTracks(card.tracks[0], card.tracks[1]);
        if (!parsed.accountNumber.empty()) {
            EXPECT_TRUE(opos::LuhnValid(parsed.accountNumber)) << parsed.accountNumber;
        }
    }
    EXPECT_FALSE(opos::LuhnValid("4111111111111112"));
    EXPECT_FALSE(opos::LuhnValid("41a1"));
    EXPECT_FALSE(opos::LuhnValid("0"));
}

TEST(TestCards, TheListHasTheKindsOfCardsTheWindowOffers)
{
    const auto& cards = opos::BuiltInTestCards();
    auto has = [&](auto pred) { return std::any_of(cards.begin(), cards.end(), pred); };
    EXPECT_TRUE(has([](const opos::TestCard& k) { return !k.tracks[2].empty(); })) << "a track 3 card";
    EXPECT_TRUE(has([](const opos::TestCard& k) {
        return k.tracks[0].empty() && !k.tracks[1].empty() && k.tracks[2].empty();
    })) << "a track 2 only card";
}

}  // namespace
}  // namespace opostest
