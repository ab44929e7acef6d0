#include "LogCapture.h"

#include "support/Log.h"

namespace KramoTest {

LogCapture::LogCapture(int level)
    : formerFile_(Kramo::Log::Instance().File()), formerLevel_(Kramo::Log::Instance().Level()) {
    Kramo::SetLogFile(Path());
    Kramo::SetLogLevel(level);
}

LogCapture::~LogCapture() {
    Kramo::SetLogFile(formerFile_);
    Kramo::SetLogLevel(formerLevel_);
}

std::string LogCapture::Text() const {
    return ReadWholeFile(Path());
}

}  // namespace KramoTest
