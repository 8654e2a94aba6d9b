// The message box seam: an installed handler answers, without one the first button does.
#include "platform/vb/MsgBox.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vb;

namespace {

TEST(VbMsgBox, WithoutAHandlerTheFirstButtonAnswers) {
    const MsgBoxHandler saved = SetMsgBoxHandler(nullptr);
    const std::pair<int, int> cases[] = {
        {vbOKOnly, vbOK},       {vbOKCancel, vbOK}, {vbAbortRetryIgnore, vbAbort},
        {vbYesNoCancel, vbYes}, {vbYesNo, vbYes},   {vbRetryCancel, vbRetry},
        {vbYesNo + vbQuestion + vbDefaultButton2, vbYes},
        {vbInformation, vbOK},
    };
    for (const auto& [buttons, answer] : cases) EXPECT_EQ(MsgBox("prompt", buttons, "title"), answer) << buttons;
    SetMsgBoxHandler(saved);
}

TEST(VbMsgBox, TheInstalledHandlerSeesTheBoxAndAnswers) {
    struct Shown {
        std::string prompt;
        int buttons;
        std::string title;
    };
    std::vector<Shown> shown;
    const MsgBoxHandler saved = SetMsgBoxHandler([&](const std::string& p, int b, const std::string& t) {
        shown.push_back({p, b, t});
        return vbNo;
    });
    EXPECT_EQ(MsgBox("Apagar?", vbYesNo + vbQuestion, "Catálogo"), vbNo);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].prompt, "Apagar?");
    EXPECT_EQ(shown[0].buttons, vbYesNo + vbQuestion);
    EXPECT_EQ(shown[0].title, "Catálogo");

    // Installing another gives back this one.
    const MsgBoxHandler mine = SetMsgBoxHandler(saved);
    ASSERT_TRUE(mine);
    EXPECT_EQ(mine("x", vbOKOnly, ""), vbNo);
    EXPECT_EQ(shown.size(), 2u);
}

}  // namespace
