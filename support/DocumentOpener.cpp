#include "DocumentOpener.h"

#include "support/DesktopOpener.h"

namespace Kramo {
namespace {

DesktopOpener desktopOpener;
DocumentOpener* currentOpener = &desktopOpener;

}  // namespace

DocumentOpenerScope::DocumentOpenerScope(DocumentOpener& opener) : former_(currentOpener) {
    currentOpener = &opener;
}

DocumentOpenerScope::~DocumentOpenerScope() {
    currentOpener = former_;
}

void OpenDocument(const std::string& path) {
    currentOpener->Open(path);
}

}  // namespace Kramo
