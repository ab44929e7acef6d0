#pragma once

#include <string>

namespace Kramo {

// What the program tells the user and asks: the windows implement it with message boxes and
// the text prompt, tests script it. Code below the windows reaches the user only through it.
class UserMessages {
  public:
    virtual ~UserMessages() = default;

    // The error box: primary text in large type ("error" when empty), detail below it.
    virtual void ShowErrorBox(const std::string& detail, const std::string& primary) = 0;
    virtual void ShowInfoBox(const std::string& message, const std::string& title) = 0;
    // True when the user answers Yes.
    virtual bool AskQuestion(const std::string& message, const std::string& title) = 0;
    // The one-line text prompt; the answer comes back even when the user cancels (false).
    virtual bool AskText(const std::string& prompt, std::string& answer) = 0;
};

// Installs a receiver for the life of the scope and puts the former one back afterwards.
// Without any, errors go to the log, questions are answered No and prompts are cancelled.
class UserMessagesScope {
  public:
    explicit UserMessagesScope(UserMessages& receiver);
    ~UserMessagesScope();
    UserMessagesScope(const UserMessagesScope&) = delete;
    UserMessagesScope& operator=(const UserMessagesScope&) = delete;

  private:
    UserMessages* former_;
};

UserMessages& CurrentUserMessages();

void ShowErrorBox(const std::string& detail, const std::string& primary);
// The same for plain character texts: a missing detail becomes "no msg", a missing primary
// text an empty one.
void ShowErrorText(const char* detail, const char* primary);
void ShowInfoBox(const std::string& message, const std::string& title);
bool AskQuestion(const std::string& message, const std::string& title);
bool AskText(const std::string& prompt, std::string& answer);

}  // namespace Kramo
