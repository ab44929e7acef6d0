#pragma once

#include <deque>
#include <string>
#include <vector>

#include "support/UserMessages.h"

namespace KramoTest {

// Answers the program's boxes from a script and keeps what they showed, installed for the
// life of the object. Questions and prompts with no scripted answer are answered No.
class ScriptedUserMessages : public Kramo::UserMessages {
  public:
    struct Shown {
        std::string kind;    // "error", "info", "question" or "prompt"
        std::string text;    // primary text, message or prompt
        std::string detail;  // detail, title or proposed answer
    };

    ScriptedUserMessages() : scope_(*this) {}

    void ShowErrorBox(const std::string& detail, const std::string& primary) override;
    void ShowInfoBox(const std::string& message, const std::string& title) override;
    bool AskQuestion(const std::string& message, const std::string& title) override;
    bool AskText(const std::string& prompt, std::string& answer) override;

    void AnswerQuestion(bool yes) { questionAnswers_.push_back(yes); }
    // A prompt answer: the text typed, and whether OK (true) or Cancel ends the prompt.
    void AnswerPrompt(const std::string& text, bool confirmed) {
        promptAnswers_.push_back({text, confirmed});
    }

    const std::vector<Shown>& ShownBoxes() const { return shown_; }
    std::vector<Shown> ShownOfKind(const std::string& kind) const;

  private:
    struct PromptAnswer {
        std::string text;
        bool confirmed;
    };

    Kramo::UserMessagesScope scope_;
    std::deque<bool> questionAnswers_;
    std::deque<PromptAnswer> promptAnswers_;
    std::vector<Shown> shown_;
};

}  // namespace KramoTest
