// Tests of the automation layer: OLE string conversion, variants, the class
// table and the UI-thread task queue.
#include "platform/com/class_table.h"
#include "platform/com/ui_thread.h"
#include "platform/com/variant.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct NarrowToOleRow {
    const char* name;
    std::string narrow;
    com::OleString ole;
};

TEST(OleStrings, NarrowToOle)
{
    const NarrowToOleRow rows[] = {
        {"empty", "", u""},
        {"ascii", "QuellorUSBMiniMSR", u"QuellorUSBMiniMSR"},
        {"two-byte", "Zo\xC3\xAB", u"Zo\u00EB"},
        {"three-byte", "\xE6\x9D\xB1\xE4\xBA\xAC", u"\u6771\u4EAC"},
        {"four-byte", "\xF0\x9F\x92\xB3", u"\U0001F4B3"},
        {"lone continuation", "a\x80z", u"a\uFFFDz"},
        {"truncated sequence", "a\xE6\x9D", u"a\uFFFD\uFFFD"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"embedded NUL kept", std::string("a\0b", 3), com::OleString(u"a\0b", 3)},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(com::OleFromNarrow(row.narrow), row.ole) << row.name;
    }
}

struct OleToNarrowRow {
    const char* name;
    com::OleString ole;
    std::string narrow;
};

TEST(OleStrings, OleToNarrowStopsAtNulAndReplacesBadSurrogates)
{
    const OleToNarrowRow rows[] = {
        {"empty", u"", ""},
        {"non-ascii", u"\u00C5ngstr\u00F6m \u6771\u4EAC", "\xC3\x85ngstr\xC3\xB6m \xE6\x9D\xB1\xE4\xBA\xAC"},
        {"surrogate pair", u"\U0001F4B3", "\xF0\x9F\x92\xB3"},
        {"stops at NUL", com::OleString(u"Track\0Hidden", 12), "Track"},
        {"leading NUL", com::OleString(u"\0abc", 4), ""},
        {"lone high surrogate", com::OleString(1, char16_t(0xD800)) + u"x", "\xEF\xBF\xBDx"},
        {"lone low surrogate", com::OleString(1, char16_t(0xDC00)), "\xEF\xBF\xBD"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(com::NarrowFromOle(row.ole), row.narrow) << row.name;
    }
}

TEST(Variants, AccessorsAnswerOnlyForTheirOwnType)
{
    const auto i4 = com::Variant::FromI4(-7);
    EXPECT_EQ(i4.type(), com::VarType::I4);
    EXPECT_EQ(i4.i4(), -7);
    EXPECT_FALSE(i4.boolean());

    EXPECT_TRUE(com::Variant::FromRawBool(2).boolean());
    EXPECT_TRUE(com::Variant::FromBool(true).boolean());
    EXPECT_EQ(com::Variant::FromBool(true).rawBool(), -1);
    EXPECT_FALSE(com::Variant::FromRawBool(0).boolean());
    EXPECT_EQ(com::Variant::FromBool(true).i4(), 0);

    std::int32_t response = 13;
    com::OleString text = u"keep";
    const auto refI4 = com::Variant::RefI4(&response);
    const auto refStr = com::Variant::RefBstr(&text);
    EXPECT_EQ(refI4.type(), com::VarType::ByRefI4);
    EXPECT_EQ(refI4.refI4(), &response);
    EXPECT_EQ(refI4.refBstr(), nullptr);
    EXPECT_EQ(refStr.refBstr(), &text);
    EXPECT_EQ(com::Variant::RefI4(nullptr).refI4(), nullptr);
    EXPECT_EQ(com::Variant::FromNarrow("\xC3\xAB").bstr(), u"\u00EB");
}

class NullDispatch : public com::IDispatch {
public:
    com::HResult Invoke(std::int32_t, com::InvokeKind, std::span<const com::Variant>,
                        com::Variant*) override
    {
        return com::S_OK;
    }
    void Advise(com::IEventSink*) override {}
};

TEST(ClassTable, CreatesOnlyRegisteredClassesWhateverTheSpelling)
{
    auto& table = com::ClassTable::Instance();
    const std::string clsid = "{0A1B2C3D-0000-4000-8000-00000000ABCD}";
    EXPECT_EQ(table.Create(clsid), nullptr);

    table.Register(clsid, [] { return std::make_unique<NullDispatch>(); });
    EXPECT_TRUE(table.IsRegistered("0a1b2c3d-0000-4000-8000-00000000abcd"));
    EXPECT_NE(table.Create("{0a1b2c3d-0000-4000-8000-00000000abcd}"), nullptr);

    // A factory that cannot make the object is a failed creation too.
    table.Register(clsid, [] { return std::unique_ptr<com::IDispatch>(); });
    EXPECT_EQ(table.Create(clsid), nullptr);

    table.Unregister(clsid);
    EXPECT_FALSE(table.IsRegistered(clsid));
    EXPECT_EQ(table.Create(clsid), nullptr);
}

TEST(UiThread, QueuedTasksRunInPostingOrderIncludingNestedPosts)
{
    com::RunPostedTasks();  // nothing left from elsewhere
    std::vector<int> order;
    std::thread device([&] {
        for (int i = 0; i < 3; ++i) {
            com::PostToUiThread([&order, i] {
                order.push_back(i);
                if (i == 0) {
                    com::PostToUiThread([&order] { order.push_back(10); });
                }
            });
        }
    });
    device.join();
    EXPECT_EQ(com::RunPostedTasks(), 4);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 10}));
    EXPECT_EQ(com::RunPostedTasks(), 0);
}

TEST(UiThread, AnInstalledPosterReceivesTheTasks)
{
    std::vector<com::Task> handed;
    com::SetUiThreadPoster([&handed](com::Task t) { handed.push_back(std::move(t)); });
    int ran = 0;
    com::PostToUiThread([&ran] { ++ran; });
    com::SetUiThreadPoster(nullptr);
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(ran, 0);
    handed.front()();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(com::RunPostedTasks(), 0);
}

}  // namespace
