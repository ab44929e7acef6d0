#include "support/UserMessages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/LogCapture.h"
#include "common/ScriptedUserMessages.h"

namespace {

using KramoTest::ScriptedUserMessages;
using testing::HasSubstr;

TEST(UserMessages, WithoutReceiverErrorsAreLoggedAndQuestionsAnsweredNo) {
    KramoTest::LogCapture log;
    Kramo::ShowErrorBox("detail text", "Primary text");
    EXPECT_THAT(log.Text(), HasSubstr("Primary text - detail text"));
    EXPECT_FALSE(Kramo::AskQuestion("Dokončiť nákup?", ""));
    std::string answer = "proposed";
    EXPECT_FALSE(Kramo::AskText("Kto prebral tovar tohoto predajcu?", answer));
    EXPECT_EQ(answer, "proposed");
}

TEST(UserMessages, ScopeInstallsAndRestoresTheReceiver) {
    Kramo::UserMessages& before = Kramo::CurrentUserMessages();
    {
        ScriptedUserMessages outer;
        {
            ScriptedUserMessages inner;
            inner.AnswerQuestion(true);
            EXPECT_TRUE(Kramo::AskQuestion("q", "t"));
            EXPECT_EQ(inner.ShownBoxes().size(), 1u);
        }
        EXPECT_EQ(&Kramo::CurrentUserMessages(), &outer);
        EXPECT_TRUE(outer.ShownBoxes().empty());
    }
    EXPECT_EQ(&Kramo::CurrentUserMessages(), &before);
}

TEST(UserMessages, ErrorTextFillsInMissingTexts) {
    ScriptedUserMessages boxes;
    Kramo::ShowErrorText(nullptr, nullptr);
    Kramo::ShowErrorText("only detail", nullptr);
    ASSERT_EQ(boxes.ShownBoxes().size(), 2u);
    EXPECT_EQ(boxes.ShownBoxes()[0].detail, "no msg");
    EXPECT_EQ(boxes.ShownBoxes()[0].text, "");
    EXPECT_EQ(boxes.ShownBoxes()[1].detail, "only detail");
}

TEST(UserMessages, ScriptedPromptHandsBackTheTypedTextEvenWhenCancelled) {
    ScriptedUserMessages boxes;
    boxes.AnswerPrompt("Jana", false);
    std::string answer = "Peter";
    EXPECT_FALSE(Kramo::AskText("Kto?", answer));
    EXPECT_EQ(answer, "Jana");
    EXPECT_EQ(boxes.ShownOfKind("prompt").at(0).detail, "Peter");
}

}  // namespace
