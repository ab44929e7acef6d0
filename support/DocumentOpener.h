#pragma once

#include <string>

namespace Kramo {

// Hands a finished document to the user's viewer. The desktop's opener is the default; tests
// install one that only notes the path.
class DocumentOpener {
  public:
    virtual ~DocumentOpener() = default;
    // Throws std::runtime_error when the viewer cannot be started.
    virtual void Open(const std::string& path) = 0;
};

// Installs an opener for the life of the scope and puts the former one back afterwards.
class DocumentOpenerScope {
  public:
    explicit DocumentOpenerScope(DocumentOpener& opener);
    ~DocumentOpenerScope();
    DocumentOpenerScope(const DocumentOpenerScope&) = delete;
    DocumentOpenerScope& operator=(const DocumentOpenerScope&) = delete;

  private:
    DocumentOpener* former_;
};

void OpenDocument(const std::string& path);

}  // namespace Kramo
