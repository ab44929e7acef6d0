#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/LogCapture.h"
#include "common/ScriptedUserMessages.h"
#include "common/TemporaryDirectory.h"
#include "core/MemoryStore.h"
#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"

namespace KramoTest {

// A program directory with its settings (documents go to "documents/" in it), a register over
// a store in memory with one seller "AB", scripted boxes and the log captured.
class DocumentFixture : public testing::Test {
  protected:
    DocumentFixture();

    Kramo::Item AddItem(int number, const char* name, double price, int32_t status = 1);
    // The documents folder's entries, sorted; empty when the folder does not exist.
    std::vector<std::string> Documents() const;
    std::string DocumentPath(const std::string& name) const;

    MemoryStore& Store() { return *store_; }

    class RecordingReporter : public Kramo::ExceptionReporter {
      public:
        void HandleException(const std::exception& failure) override {
            failures.push_back(failure.what());
        }
        std::vector<std::string> failures;
    };

    LogCapture log_;
    ScriptedUserMessages boxes_;
    TemporaryDirectory programDirectory_;
    RecordingReporter reporter_;
    std::unique_ptr<Kramo::KramoSettings> settings_;
    Kramo::KramoRegister register_;
    MemoryStore* store_ = nullptr;
    Kramo::Seller seller_;
};

}  // namespace KramoTest
