#pragma once

#include <functional>
#include <string>
#include <vector>

#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"

namespace KramoDialogs {

class MainWindow;

// The two import commands of the main window: one seller sheet, or every sheet of a folder.
class ImportDialogs {
  public:
    // What the file chooser is asked for.
    struct Choice {
        std::string title;
        bool chooseFolder = false;
        std::vector<std::string> patterns;  // one filter "Sheet files." when not empty
        std::string startFolder;
        std::string presetName;
    };
    // The chosen file or folder, or empty when the user cancelled.
    using Chooser = std::function<std::string(const Choice&)>;

    ImportDialogs(Kramo::KramoSettings& settings, Kramo::KramoRegister& kramoRegister,
                  MainWindow& mainWindow);

    void ImportSingleSeller();
    void ImportMultiSellers();

    // Tests answer the chooser instead of a user.
    void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }

  private:
    std::string Choose(const char* title, bool chooseFolder);
    std::string ChooseOnScreen(const Choice& choice) const;
    void ShowImportedSeller(int sellerId);

    Kramo::KramoSettings& settings_;
    Kramo::KramoRegister& kramoRegister_;
    MainWindow& mainWindow_;
    Chooser chooser_;
};

}  // namespace KramoDialogs
