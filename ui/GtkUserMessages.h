#pragma once

#include <memory>

#include "support/UserMessages.h"
#include "ui/BoxPlacement.h"
#include "ui/TextPrompt.h"

namespace KramoDialogs {

// The message boxes and the text prompt on the screen: each box is built, run until the user
// answers, and destroyed. Every box is modal to the window it belongs to and centred on it.
class GtkUserMessages : public Kramo::UserMessages {
  public:
    // Without a prompt (the window description had none) every prompt counts as cancelled.
    explicit GtkUserMessages(std::unique_ptr<TextPrompt> prompt = nullptr);

    void ShowErrorBox(const std::string& detail, const std::string& primary) override;
    void ShowInfoBox(const std::string& message, const std::string& title) override;
    bool AskQuestion(const std::string& message, const std::string& title) override;
    bool AskText(const std::string& prompt, std::string& answer) override;

    // The prompt is built with the other windows, after this object.
    void SetPrompt(std::unique_ptr<TextPrompt> prompt) { prompt_ = std::move(prompt); }
    // Boxes fall back to the main window once it is built.
    void SetMainWindow(Gtk::Window* mainWindow) { placement_.SetMainWindow(mainWindow); }

  private:
    std::unique_ptr<TextPrompt> prompt_;
    BoxPlacement placement_;
};

}  // namespace KramoDialogs
