#include "app/layout.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using layout::Control;
using layout::ControlKind;

bool Overlap(const layout::ControlSpec& a, const layout::ControlSpec& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(LayoutTest, VisibleControlsNeverOverlapAndIdsAreUnique) {
    std::set<int> ids;
    for (const auto& a : layout::kControls) {
        EXPECT_TRUE(ids.insert(static_cast<int>(a.id)).second);
        EXPECT_GT(static_cast<int>(a.id), 2) << "clashes with IDOK or IDCANCEL";
        for (const auto& b : layout::kControls) {
            if (&a == &b || a.kind == ControlKind::Server || b.kind == ControlKind::Server) continue;
            EXPECT_FALSE(Overlap(a, b)) << static_cast<int>(a.id) << " and " << static_cast<int>(b.id);
        }
    }
}

TEST(LayoutTest, TabCycleTakesElevenFocusableControlsAndWrapsBothWays) {
    std::set<Control> seen;
    std::optional<Control> at = Control::按钮1;
    for (std::size_t i = 0; i < layout::kTabOrder.size(); ++i) {
        EXPECT_EQ(*at, layout::kTabOrder[i]);
        EXPECT_NE(layout::SpecOf(*at).kind, ControlKind::Label);
        EXPECT_NE(layout::SpecOf(*at).kind, ControlKind::Server);
        seen.insert(*at);
        at = layout::NextInTabOrder(at, false);
    }
    EXPECT_EQ(*at, Control::按钮1);
    EXPECT_EQ(seen.size(), 11u);
    EXPECT_EQ(layout::NextInTabOrder(Control::按钮1, true), Control::按钮3);
    EXPECT_EQ(layout::NextInTabOrder(Control::编辑框4, true), Control::按钮2);
    // From nowhere (or a label) the cycle starts at either end.
    EXPECT_EQ(layout::NextInTabOrder(std::nullopt, false), Control::按钮1);
    EXPECT_EQ(layout::NextInTabOrder(Control::标签3, true), Control::按钮3);
}

TEST(LayoutTest, WindowIsCentredOnTheFullScreen) {
    struct Case {
        int width, height, left, top;
    };
    for (const Case& c : {Case{1024, 768, 349, 199}, Case{1920, 1080, 797, 355}, Case{800, 600, 237, 115},
                          Case{325, 370, 0, 0}}) {
        const layout::Point p = layout::CentredOrigin(c.width, c.height);
        EXPECT_EQ(p.x, c.left) << c.width << "x" << c.height;
        EXPECT_EQ(p.y, c.top) << c.width << "x" << c.height;
    }
}

TEST(LayoutTest, EditBoxGrowsOnlyWhenItsFontNeedsMoreThanTheLayoutGives) {
    EXPECT_EQ(layout::EditBoxHeight(20, 13, 2), 20);
    EXPECT_EQ(layout::EditBoxHeight(20, 16, 2), 20);
    EXPECT_EQ(layout::EditBoxHeight(20, 17, 2), 21);
    EXPECT_EQ(layout::EditBoxHeight(20, 24, 3), 30);
}

TEST(LayoutTest, KeysTheWindowHandlesItself) {
    using layout::KeyAction;
    EXPECT_EQ(layout::ActionForKey(layout::kKeyTab, false), KeyAction::FocusNext);
    EXPECT_EQ(layout::ActionForKey(layout::kKeyTab, true), KeyAction::FocusPrevious);
    EXPECT_EQ(layout::ActionForKey(layout::kKeyEscape, false), KeyAction::Close);
    EXPECT_EQ(layout::ActionForKey(layout::kKeyEscape, true), KeyAction::Close);
    EXPECT_EQ(layout::ActionForKey(layout::kKeyReturn, false), KeyAction::Swallow);
    EXPECT_EQ(layout::ActionForKey('A', false), KeyAction::PassOn);
    EXPECT_EQ(layout::ActionForKey(0x20, false), KeyAction::PassOn);  // space still presses a button
    EXPECT_TRUE(layout::IsSwallowedCharacter(u'\t'));
    EXPECT_TRUE(layout::IsSwallowedCharacter(u'\r'));
    EXPECT_FALSE(layout::IsSwallowedCharacter(u' '));
    EXPECT_FALSE(layout::IsSwallowedCharacter(u'名'));
}

}  // namespace
