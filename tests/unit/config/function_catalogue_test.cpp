#include "config/function_catalogue.h"

#include <climits>
#include <map>
#include <set>

#include <gtest/gtest.h>

namespace {
bool Outside(std::int64_t code) { return code < 0 || (code >= 7 && code <= 10) || code == 20 || code > 52; }
}  // namespace

TEST(FunctionCatalogue, EachCodeIsPerformedByTheMouseOrTheHostOrIsOutside) {
    std::set<int> mouseFunctions;
    for (std::int64_t code = -20; code <= 80; ++code) {
        const FunctionEntry& f = FunctionOf(code);
        EXPECT_EQ(f.performer == Performer::Outside, Outside(code)) << code;
        if (f.performer != Performer::Host) {
            EXPECT_EQ(f.action, HostAction::None) << code;
            EXPECT_EQ(f.dpiDirection, 0) << code;
        }
        if (f.performer == Performer::Mouse) {
            EXPECT_TRUE(mouseFunctions.insert(f.mouseFunction).second) << "function " << +f.mouseFunction << " twice";
            EXPECT_LE(f.mouseFunction, 17) << code;
        }
        // Box labels: the skin's names for 1 to 40 (group titles included), macro names after.
        const FunctionLabel label = code >= 1 && code <= 40   ? FunctionLabel::Name
                                    : code >= 41 && code <= 52 ? FunctionLabel::MacroName
                                                               : FunctionLabel::None;
        EXPECT_EQ(f.label, label) << code;
    }
    EXPECT_EQ(mouseFunctions.size(), 17u);  // 0 to 17 without 6
    constexpr std::int64_t kHuge = std::int64_t{1} << 40;
    for (std::int64_t code : {std::int64_t{INT_MIN}, std::int64_t{INT_MAX}, kHuge, -kHuge}) {
        EXPECT_EQ(FunctionOf(code).performer, Performer::Outside) << code;
        EXPECT_EQ(FunctionOf(code).label, FunctionLabel::None) << code;
        EXPECT_EQ(FunctionOf(code).group, PopupGroup::None) << code;
        EXPECT_EQ(DpiDirectionOf(code), 0) << code;
    }
}

TEST(FunctionCatalogue, HostActionsBelongToOneCodeAndOnlyTheDpiCodesStep) {
    std::map<HostAction, int> codesOf;
    for (std::int64_t code = 0; code <= 52; ++code) {
        const FunctionEntry& f = FunctionOf(code);
        ++codesOf[f.action];
        EXPECT_EQ(f.dpiDirection != 0, f.action == HostAction::StepDpi) << code;
        // Macro slots follow the codes: 41 plays macro 0, 52 macro 11, and no other code plays one.
        EXPECT_EQ(f.action == HostAction::PlayMacro, code >= 41) << code;
        EXPECT_EQ(f.macro, code >= 41 ? code - 41 : -1) << code;
    }
    for (auto a = static_cast<int>(HostAction::ToggleLed); a < static_cast<int>(HostAction::PlayMacro); ++a) {
        EXPECT_EQ(codesOf[static_cast<HostAction>(a)], 1) << "action " << a;
    }
    EXPECT_EQ(DpiDirectionOf(6), 2);
    EXPECT_EQ(DpiDirectionOf(17), 1);
    EXPECT_EQ(DpiDirectionOf(18), -1);
}

TEST(FunctionCatalogue, PopupRowsAreUniqueAndGiveTheirGroupsCodes) {
    // A popup's row r offers code base + r; the four group rows of the first level open them.
    const std::map<PopupGroup, std::pair<int, int>> baseAndRows = {{PopupGroup::TopLevel, {0, 10}},
        {PopupGroup::OfRow7, {10, 9}}, {PopupGroup::OfRow8, {20, 6}}, {PopupGroup::OfRow9, {40, 12}},
        {PopupGroup::OfRow10, {30, 10}}};
    int offered = 0;
    for (const auto& [group, baseRows] : baseAndRows) {
        const auto [base, rows] = baseRows;
        EXPECT_EQ(PopupRowCount(group), rows);
        for (int row = 1; row <= rows; ++row) {
            EXPECT_EQ(CodeAtPopupRow(group, row), base + row) << static_cast<int>(group) << " " << row;
            EXPECT_EQ(FunctionOf(base + row).row, row);
            if (group != PopupGroup::TopLevel || row < 7) {
                EXPECT_NE(FunctionOf(base + row).performer, Performer::Outside) << base + row;
                EXPECT_EQ(FunctionOf(base + row).opens, PopupGroup::None) << base + row;
            }
        }
        for (int row : {0, -1, rows + 1, 255}) EXPECT_FALSE(CodeAtPopupRow(group, row).has_value()) << row;
        offered += rows;
    }
    EXPECT_EQ(FunctionOf(7).opens, PopupGroup::OfRow7);
    EXPECT_EQ(FunctionOf(8).opens, PopupGroup::OfRow8);
    EXPECT_EQ(FunctionOf(9).opens, PopupGroup::OfRow9);
    EXPECT_EQ(FunctionOf(10).opens, PopupGroup::OfRow10);
    // Every other code (0, 20, 27 to 30) is in no popup, so each offered code has one place.
    int inAPopup = 0;
    for (std::int64_t code = 0; code <= 52; ++code) inAPopup += FunctionOf(code).group != PopupGroup::None;
    EXPECT_EQ(inAPopup, offered);
    EXPECT_EQ(PopupRowCount(PopupGroup::None), 0);
    EXPECT_FALSE(CodeAtPopupRow(PopupGroup::None, 0).has_value());
}
