#include "ScriptedUserMessages.h"

namespace KramoTest {

void ScriptedUserMessages::ShowErrorBox(const std::string& detail, const std::string& primary) {
    shown_.push_back({"error", primary, detail});
}

void ScriptedUserMessages::ShowInfoBox(const std::string& message, const std::string& title) {
    shown_.push_back({"info", message, title});
}

bool ScriptedUserMessages::AskQuestion(const std::string& message, const std::string& title) {
    shown_.push_back({"question", message, title});
    if (questionAnswers_.empty()) {
        return false;
    }
    const bool yes = questionAnswers_.front();
    questionAnswers_.pop_front();
    return yes;
}

bool ScriptedUserMessages::AskText(const std::string& prompt, std::string& answer) {
    shown_.push_back({"prompt", prompt, answer});
    if (promptAnswers_.empty()) {
        return false;
    }
    const PromptAnswer scripted = promptAnswers_.front();
    promptAnswers_.pop_front();
    answer = scripted.text;
    return scripted.confirmed;
}

std::vector<ScriptedUserMessages::Shown> ScriptedUserMessages::ShownOfKind(
    const std::string& kind) const {
    std::vector<Shown> selected;
    for (const Shown& box : shown_) {
        if (box.kind == kind)
            selected.push_back(box);
    }
    return selected;
}

}  // namespace KramoTest
