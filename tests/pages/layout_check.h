// Checks on dialog templates as data: controls inside the dialog, no two
// controls overlapping (group boxes only frame), group boxes holding what
// they should, and a table of expected controls (ID, kind, text, style).
#pragma once

#include "platform/ui/dialog_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace layoutcheck {

inline bool Inside(const ui::Rect& inner, const ui::Rect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + inner.cy <= outer.y + outer.cy;
}

inline bool Overlap(const ui::Rect& a, const ui::Rect& b)
{
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

inline std::string Describe(const ui::ControlTemplate& c)
{
    return "control " + std::to_string(c.id) + " \"" + c.text + "\"";
}

// Every control lies inside the dialog; controls other than group boxes do
// not overlap each other; a control and a group box are either disjoint or
// the control lies wholly inside the box.
inline void CheckGeometry(const ui::DialogTemplate& t)
{
    SCOPED_TRACE("template " + std::to_string(t.id));
    const ui::Rect dialog{0, 0, t.cx, t.cy};
    const auto& cs = t.controls;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        EXPECT_GT(cs[i].rect.cx, 0) << Describe(cs[i]);
        EXPECT_GT(cs[i].rect.cy, 0) << Describe(cs[i]);
        EXPECT_TRUE(Inside(cs[i].rect, dialog)) << Describe(cs[i]) << " lies outside the dialog";
        for (std::size_t j = i + 1; j < cs.size(); ++j) {
            const bool boxI = cs[i].kind == ui::ControlKind::GroupBox;
            const bool boxJ = cs[j].kind == ui::ControlKind::GroupBox;
            if (!boxI && !boxJ) {
                EXPECT_FALSE(Overlap(cs[i].rect, cs[j].rect)) << Describe(cs[i]) << " overlaps " << Describe(cs[j]);
            } else if (Overlap(cs[i].rect, cs[j].rect)) {
                EXPECT_TRUE(Inside(cs[i].rect, cs[j].rect) || Inside(cs[j].rect, cs[i].rect))
                    << Describe(cs[i]) << " cuts across " << Describe(cs[j]);
            }
        }
    }
}

// The group box with the given title holds the given controls.
inline void CheckBoxHolds(const ui::DialogTemplate& t, const std::string& title, std::vector<int> ids)
{
    const ui::ControlTemplate* box = nullptr;
    for (const auto& c : t.controls) {
        if (c.kind == ui::ControlKind::GroupBox && c.text == title) {
            box = &c;
        }
    }
    ASSERT_NE(box, nullptr) << "template " << t.id << " has no box \"" << title << "\"";
    for (int id : ids) {
        const ui::ControlTemplate* c = t.Find(id);
        ASSERT_NE(c, nullptr) << "template " << t.id << " lacks " << id;
        EXPECT_TRUE(Inside(c->rect, box->rect)) << "template " << t.id << ": " << Describe(*c) << " is not in \""
                                                << title << "\"";
    }
}

// One expected control: ID (or IDC_STATIC for a label found by its text),
// kind, exact text, and whether it starts disabled.
struct Expected {
    int id;
    ui::ControlKind kind;
    const char* text;
    bool disabled = false;
};

inline void CheckControls(const ui::DialogTemplate& t, const std::vector<Expected>& rows)
{
    for (const Expected& e : rows) {
        const ui::ControlTemplate* c = nullptr;
        if (e.id == ui::IDC_STATIC) {
            for (const auto& x : t.controls) {
                if (x.id == ui::IDC_STATIC && x.kind == e.kind && x.text == e.text) {
                    c = &x;
                }
            }
        } else {
            c = t.Find(e.id);
        }
        ASSERT_NE(c, nullptr) << "template " << t.id << " lacks " << e.id << " \"" << e.text << "\"";
        EXPECT_EQ(c->kind, e.kind) << "template " << t.id << " " << Describe(*c);
        EXPECT_EQ(c->text, e.text) << "template " << t.id << " " << e.id;
        EXPECT_EQ((c->style & ui::CS_Disabled) != 0, e.disabled) << "template " << t.id << " " << Describe(*c);
    }
}

}  // namespace layoutcheck
