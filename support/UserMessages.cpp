#include "UserMessages.h"

#include "Log.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

// Where messages go before the windows exist, and in programs that have none.
class LoggedUserMessages : public UserMessages {
  public:
    void ShowErrorBox(const std::string& detail, const std::string& primary) override {
        LogMessage(LogError, "Error box: %s - %s\n", primary.c_str(), detail.c_str());
    }
    void ShowInfoBox(const std::string& message, const std::string& title) override {
        LogMessage(LogInfo, "Info box: %s - %s\n", title.c_str(), message.c_str());
    }
    bool AskQuestion(const std::string& message, const std::string&) override {
        LogMessage(LogInfo, "Question answered no, nobody to ask: %s\n", message.c_str());
        return false;
    }
    bool AskText(const std::string& prompt, std::string&) override {
        LogMessage(LogInfo, "Prompt cancelled, nobody to ask: %s\n", prompt.c_str());
        return false;
    }
};

LoggedUserMessages loggedUserMessages;
UserMessages* currentUserMessages = &loggedUserMessages;

}  // namespace

UserMessagesScope::UserMessagesScope(UserMessages& receiver) : former_(currentUserMessages) {
    currentUserMessages = &receiver;
}

UserMessagesScope::~UserMessagesScope() {
    currentUserMessages = former_;
}

UserMessages& CurrentUserMessages() {
    return *currentUserMessages;
}

void ShowErrorBox(const std::string& detail, const std::string& primary) {
    CurrentUserMessages().ShowErrorBox(detail, primary);
}

void ShowErrorText(const char* detail, const char* primary) {
    ShowErrorBox(detail != nullptr ? detail : _("no msg"), primary != nullptr ? primary : "");
}

void ShowInfoBox(const std::string& message, const std::string& title) {
    CurrentUserMessages().ShowInfoBox(message, title);
}

bool AskQuestion(const std::string& message, const std::string& title) {
    return CurrentUserMessages().AskQuestion(message, title);
}

bool AskText(const std::string& prompt, std::string& answer) {
    return CurrentUserMessages().AskText(prompt, answer);
}

}  // namespace Kramo
