// Feeds arbitrary bytes as "kramo.xml" through the XML reader, the tree and the settings. Nothing
// may crash, hang or read out of bounds, and whatever the settings took from the file must come
// back unchanged after they have saved it and read it again.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/CXmlNode.h"
#include "settings/CXmlWrapperTools.h"
#include "settings/KramoSettings.h"
#include "support/CConvFile.h"
#include "support/Log.h"

namespace {

using Kramo::KramoSettings;

// The settings flush their file to the disk on every save: a folder in memory keeps that cheap.
const std::string& ProgramFolder() {
    static const std::string folder = [] {
        char pattern[] = "/dev/shm/kramo-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made == nullptr) {
            char fallback[] = "/tmp/kramo-fuzz-XXXXXX";
            made = mkdtemp(fallback);
            return std::string(made != nullptr ? made : "/tmp") + "/";
        }
        return std::string(made) + "/";
    }();
    return folder;
}

class IgnoringReporter : public Kramo::ExceptionReporter {
  public:
    void HandleException(const std::exception&) override {}
};

void WriteInput(const uint8_t* data, size_t size) {
    // An input that is no settings file is kept aside at the save: only one at a time here.
    std::remove((ProgramFolder() + KramoSettings::FileName + ".bad").c_str());
    FILE* file = std::fopen((ProgramFolder() + KramoSettings::FileName).c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
}

void Expect(bool holds, const char* field) {
    if (!holds) {
        std::fprintf(stderr, "SettingsFuzz: %s differs after saving and loading again\n", field);
        std::abort();
    }
}

// Any tree the reader builds must also go through the writer.
void WriteTreeOfInput() {
    Kramo::CXmlNode document;
    Kramo::CXmlWrapperTools::ReadTreeFromDiskFile(ProgramFolder() + KramoSettings::FileName,
                                                  document);
    ConvFile::CConvFile output;
    if (output.Open(ProgramFolder() + "tree.xml", ConvFile::CConvFile::ForWriting)) {
        Kramo::CXmlWrapperTools::WriteSimpleXmlFile(output, document);
        output.Close();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Kramo::SetLogLevel(0);
    WriteInput(data, size);
    WriteTreeOfInput();

    IgnoringReporter reporter;
    KramoSettings loaded(reporter, ProgramFolder());
    loaded.SaveSettings();
    const KramoSettings again(reporter, ProgramFolder());
    Expect(again.SaleName() == loaded.SaleName(), "salename");
    Expect(again.FontSize() == loaded.FontSize(), "fontSize");
    Expect(again.DatabaseInLocalFiles() == loaded.DatabaseInLocalFiles(), "databaseInLocalFiles");
    Expect(again.ServerAddress() == loaded.ServerAddress(), "address");
    Expect(again.User() == loaded.User(), "user");
    Expect(again.Password() == loaded.Password(), "password");
    Expect(again.DatabaseName() == loaded.DatabaseName(), "dbname");
    Expect(again.Port() == loaded.Port(), "port");
    return 0;
}
