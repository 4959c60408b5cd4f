// The application's resources: the registry script's exact lines, the
// version record, the About box and the application icon.
#include "app/about_dlg.h"
#include "platform/ui/icons.h"
#include "res/app_about_template.h"
#include "res/app_icon.h"
#include "res/app_registry_script.h"
#include "res/app_version.h"
#include "support/operator_script.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace {

using testsupport::OperatorScript;

TEST(AppResources, RegistryScriptLines) {
    const std::string guid(res::kAppIdGuid);
    struct Line {
        int tabs;
        std::string text;
    };
    const Line lines[] = {
        {0, "HKCR"},
        {0, "{"},
        {1, "NoRemove AppID"},
        {1, "{"},
        {2, guid + " = s 'Strivo'"},
        {2, "'Strivo.EXE'"},
        {2, "{"},
        {3, "val AppID = s " + guid},
        {2, "}"},
        {1, "}"},
        {0, "}"},
    };
    std::string expected;
    for (const Line& l : lines) expected += std::string(static_cast<std::size_t>(l.tabs), '\t') + l.text + "\r\n";
    EXPECT_EQ(res::AppRegistryScript(), expected);
    // A GUID in braces: 8-4-4-4-12 hex digits.
    ASSERT_EQ(guid.size(), 38u);
    for (std::size_t i = 0; i < guid.size(); ++i) {
        const char c = guid[i];
        if (i == 0) EXPECT_EQ(c, '{');
        else if (i == 37) EXPECT_EQ(c, '}');
        else if (i == 9 || i == 14 || i == 19 || i == 24) EXPECT_EQ(c, '-');
        else EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c))) << i;
    }
}

TEST(AppResources, VersionRecord) {
    const res::VersionRecord& v = res::AppVersion();
    EXPECT_EQ(v.fileVersion, (std::array<std::uint16_t, 4>{1, 0, 0, 1}));
    EXPECT_EQ(v.productVersion, (std::array<std::uint16_t, 4>{1, 0, 0, 1}));
    EXPECT_EQ(v.language, 0x0409);
    EXPECT_EQ(v.codePage, 1200);
    const std::pair<const char*, const char*> rows[] = {
        {"FileDescription", "Quellor MSR OPOS Test Program MFC Application"},
        {"FileVersion", "1, 0, 0, 1"},
        {"InternalName", "Quellor MSR OPOS Test Program "},
        {"OriginalFilename", "Quellor MSR OPOS Test Program .EXE"},
        {"ProductName", "Quellor MSR OPOS Test Program  Application"},
        {"ProductVersion", "1, 0, 0, 1"},
    };
    for (const auto& [key, value] : rows) EXPECT_EQ(v.Find(key), value) << key;
    EXPECT_EQ(v.Find("Comments"), "");
}

TEST(AppResources, AboutTemplate) {
    const ui::DialogTemplate& t = res::AboutTemplate();
    EXPECT_EQ(t.id, 100);
    EXPECT_EQ(t.caption, "About Quellor MSR OPOS Test Program ");
    EXPECT_EQ(t.fontName, "MS Sans Serif");
    EXPECT_EQ(t.pointSize, 10);
    EXPECT_EQ(t.style, static_cast<std::uint32_t>(ui::DS_SysMenu | ui::DS_ModalFrame));
    ASSERT_EQ(t.controls.size(), 4u);
    EXPECT_EQ(t.controls[0].kind, ui::ControlKind::Icon);
    EXPECT_EQ(t.controls[0].iconId, 128);
    EXPECT_EQ(t.controls[0].id, ui::IDC_STATIC);
    EXPECT_EQ(t.controls[1].kind, ui::ControlKind::Static);
    EXPECT_EQ(t.controls[1].text, "Quellor MSR OPOS Test Program Version 1.0");
    EXPECT_TRUE(t.controls[1].style & ui::CS_NoPrefix);
    EXPECT_EQ(t.controls[2].kind, ui::ControlKind::Static);
    EXPECT_EQ(std::count(t.controls[2].text.begin(), t.controls[2].text.end(), '\n'), 2);
    EXPECT_EQ(t.controls[3].id, ui::IDOK);
    EXPECT_EQ(t.controls[3].kind, ui::ControlKind::PushButton);
    EXPECT_EQ(t.controls[3].text, "OK");
    EXPECT_TRUE(t.controls[3].style & ui::CS_DefaultButton);
}

TEST(AppResources, AboutBoxClosesWithOkEnterAndEscape) {
    struct Row {
        const char* label;
        std::function<void(ui::ModalView&)> act;
        int result;
    };
    const Row rows[] = {
        {"OK", [](ui::ModalView& v) { v.Click(ui::IDOK); }, ui::IDOK},
        {"Enter", [](ui::ModalView& v) { v.PressEnter(); }, ui::IDOK},
        {"Escape", [](ui::ModalView& v) { v.PressEscape(); }, ui::IDCANCEL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        std::string caption;
        int templateId = 0;
        OperatorScript op;
        op.Then([&](ui::ModalView& v) {
            caption = v.Caption();
            templateId = v.TemplateId();
            row.act(v);
        });
        CAboutDlg about;
        EXPECT_EQ(about.DoModal(), row.result);
        op.Finish();
        EXPECT_EQ(caption, "About Quellor MSR OPOS Test Program ");
        EXPECT_EQ(templateId, 100);
    }
    EXPECT_TRUE(ui::HasIcon(res::IDR_MAINFRAME));
}

TEST(AppResources, IconIsACardWithAStripe) {
    const QIcon icon = res::AppIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        const QImage img = icon.pixmap(size, size).toImage();
        ASSERT_EQ(img.width(), size);
        // Corners are transparent; the stripe (upper part) is dark; the card
        // below it is light.
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
        const QColor stripe = img.pixelColor(size / 2, static_cast<int>(size * 0.20 + size * 0.60 * 0.30));
        const QColor card = img.pixelColor(size - size / 6, static_cast<int>(size * 0.20 + size * 0.60 * 0.85));
        EXPECT_LT(stripe.lightness(), 80);
        EXPECT_GT(card.lightness(), 180);
    }
}

}  // namespace
