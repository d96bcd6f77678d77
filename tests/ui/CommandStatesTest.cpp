#include <gtest/gtest.h>

#include <array>

#include "ui/CommandStates.h"

namespace {

// The states the enabling rules tell apart: locked (empty list) without and
// with an Item held for undo; unlocked empty, with rows, with a selected
// row, and with a selected row and an Item held for undo.
constexpr size_t kStateCount = 6;

constexpr std::array<CommandState, kStateCount> kStates = {{
    {false, 0, false, false},
    {false, 0, false, true},
    {true, 0, false, false},
    {true, 3, false, false},
    {true, 3, true, false},
    {true, 3, true, true},
}};

struct EnablingCase {
    const char* name;
    int id;
    std::array<bool, kStateCount> enabled;
};

class CommandEnablingTest : public ::testing::TestWithParam<EnablingCase> {};

TEST_P(CommandEnablingTest, FollowsTheRuleInEveryState) {
    const EnablingCase& rule = GetParam();
    for (size_t state = 0; state < kStateCount; ++state) {
        EXPECT_EQ(IsCommandEnabled(rule.id, kStates[state]), rule.enabled[state])
            << rule.name << " in state " << state;
    }
}

constexpr bool T = true;
constexpr bool F = false;

//                                   locked      unlocked: empty rows  selected +undo
const EnablingCase kCases[] = {
    {"UnLock", ID_FILE_UNLOCK, {T, T, F, F, F, F}},
    {"Import", ID_FILE_IMPORT, {F, F, T, T, T, T}},
    {"Export", ID_FILE_EXPORT, {F, F, F, T, T, T}},
    {"Print", ID_FILE_PRINT, {F, F, F, T, T, T}},
    {"PrintPreview", ID_FILE_PRINT_PREVIEW, {F, F, F, T, T, T}},
    {"PrintSetup", ID_FILE_PRINT_SETUP, {F, F, F, T, T, T}},
    {"AddItem", ID_EDIT_ADD_ITEM, {F, F, T, T, T, T}},
    {"DeleteItem", ID_EDIT_DELETE_ITEM, {F, F, F, F, T, T}},
    // A held Item never returns into the list while it is locked.
    {"UndoDelete", ID_EDIT_UNDO_DELETE, {F, F, F, F, F, T}},
    {"DeleteAll", ID_EDIT_DELETE_ALL, {F, F, F, T, T, T}},
    {"EditItem", ID_EDIT_EDIT_ITEM, {F, F, F, F, T, T}},
    {"MakePassword", ID_EDIT_MAKE_PASSWORD, {T, T, T, T, T, T}},
    {"ChangePassword", ID_EDIT_CHANGE_PASSWORD, {F, F, T, T, T, T}},
    {"CopyPassword", ID_EDIT_COPY_PASSWORD, {F, F, F, F, T, T}},
};

INSTANTIATE_TEST_SUITE_P(Commands, CommandEnablingTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<EnablingCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

TEST(CommandEnablingTest, CommandsWithoutARuleAreAlwaysEnabled) {
    for (const int id : {ID_FILE_TEST_TWOFISH, ID_FILE_RESET, ID_APP_EXIT, ID_EDIT_PREFERENCES,
                         ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_HELP_FINDER, ID_APP_ABOUT}) {
        for (const CommandState& state : kStates) EXPECT_TRUE(IsCommandEnabled(id, state)) << id;
    }
}

TEST(CommandPromptTest, PromptAndTooltipAreTheTwoLinesOfTheStringTableText) {
    EXPECT_EQ(CommandPrompt(ID_EDIT_ADD_ITEM), QStringLiteral("Add Item\nAdd Item"));
    EXPECT_EQ(CommandStatusTip(ID_FILE_UNLOCK), QStringLiteral("UnLock Keynest"));
    EXPECT_EQ(CommandToolTip(ID_FILE_UNLOCK), QStringLiteral("UnLock"));
    EXPECT_EQ(CommandToolTip(ID_EDIT_COPY_PASSWORD), QStringLiteral("Copy"));

    EXPECT_TRUE(CommandPrompt(ID_APP_EXIT).isEmpty());
    EXPECT_TRUE(CommandToolTip(ID_APP_EXIT).isEmpty());
}

}  // namespace
