#pragma once

#include <memory>

#include "core/DataAccessInterface.h"

namespace Kramo {

// Holds the one open store. Replacing or destroying the register releases the store.
class KramoRegister {
  public:
    bool HasStore() const { return store_ != nullptr; }
    // The open store; a runtime error when none is open (after a failed opening).
    DataAccessInterface& Store() const;

    void ReplaceStore(std::unique_ptr<DataAccessInterface> store) { store_ = std::move(store); }
    void ReleaseStore() { store_.reset(); }

  private:
    std::unique_ptr<DataAccessInterface> store_;
};

}  // namespace Kramo
