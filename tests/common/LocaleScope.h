#pragma once

#include <clocale>
#include <string>

namespace KramoTest {

// Switches one locale category for a scope, as the toolkit does at start, and puts the
// former setting back. Throws when the locale is not available.
class LocaleScope {
  public:
    static constexpr const char* Slovak = "sk_SK.UTF-8";

    LocaleScope(int category, const char* name);
    ~LocaleScope();
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

  private:
    int category_;
    std::string former_;
};

}  // namespace KramoTest
