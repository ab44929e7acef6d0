#pragma once

#include <string>

#include "support/DocumentOpener.h"

namespace Kramo {

// Starts the desktop's opener program with the path as its one argument: no command processor
// sees the path, so no character of a file name is ever read as a command. The opener runs
// detached; nobody waits for the viewer.
class DesktopOpener : public DocumentOpener {
  public:
    explicit DesktopOpener(std::string program = "xdg-open") : program_(std::move(program)) {}

    void Open(const std::string& path) override;

  private:
    std::string program_;
};

}  // namespace Kramo
