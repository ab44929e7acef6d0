#include "ToolkitWarnings.h"

namespace KramoTest {

void ToolkitWarnings::MakeCriticalsFatal() {
    for (const char* domain : Domains) {
        g_log_set_fatal_mask(domain,
                             static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_FATAL_MASK));
    }
}

ExpectedToolkitWarnings::ExpectedToolkitWarnings() {
    for (std::size_t index = 0; index < former_.size(); ++index) {
        former_[index] = g_log_set_fatal_mask(ToolkitWarnings::Domains[index],
                                              static_cast<GLogLevelFlags>(G_LOG_FATAL_MASK));
    }
}

ExpectedToolkitWarnings::~ExpectedToolkitWarnings() {
    for (std::size_t index = 0; index < former_.size(); ++index) {
        g_log_set_fatal_mask(ToolkitWarnings::Domains[index], former_[index]);
    }
}

}  // namespace KramoTest
