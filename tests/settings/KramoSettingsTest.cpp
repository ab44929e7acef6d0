#include "settings/KramoSettings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/LogCapture.h"
#include "common/SmallDisk.h"
#include "common/TemporaryDirectory.h"
#include "settings/CXMLReaderImpl.h"

namespace {

using Kramo::KramoSettings;
using KramoTest::TemporaryDirectory;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

// Keeps what the settings report to the user instead of showing it.
class ScriptedReporter : public Kramo::ExceptionReporter {
  public:
    void HandleException(const std::exception& failure) override {
        reported.emplace_back(failure.what());
    }
    std::vector<std::string> reported;
};

class KramoSettingsTest : public testing::Test {
  protected:
    // The program directory as the program takes it: with its trailing separator.
    std::string ProgramDirectory() const { return directory.Path() + "/"; }
    void WriteSettingsFile(const std::string& content) const {
        directory.WriteFile("kramo.xml", content);
    }
    std::string SettingsFile() const { return directory.ReadFile("kramo.xml"); }

    KramoTest::LogCapture log;
    TemporaryDirectory directory;
    ScriptedReporter reporter;
};

TEST_F(KramoSettingsTest, WithoutAFileTheDefaultsHold) {
    const KramoSettings settings(reporter, ProgramDirectory());
    EXPECT_EQ(settings.SaleName(), "Jarna kramo 2012");
    EXPECT_EQ(settings.FontSize(), -1);
    EXPECT_TRUE(settings.DatabaseInLocalFiles());
    EXPECT_EQ(settings.CurrencyUnit(), "eur");
    EXPECT_EQ(settings.CurrencyCode(), "EUR");
    EXPECT_EQ(settings.ComputerName(), "PC123");
    EXPECT_EQ(settings.DataDirectory(), ProgramDirectory() + "data/");
    EXPECT_EQ(settings.DocumentsDirectory(), ProgramDirectory() + "/documents/");
    EXPECT_EQ(settings.LastImportFolder(), "");
    EXPECT_EQ(settings.FilePath(), ProgramDirectory() + "kramo.xml");
    EXPECT_EQ(settings.PrintReceipts(), Kramo::ReceiptPrinting::Off);  // as before printing
    EXPECT_EQ(settings.ReceiptPage(), "");
    // Desks on different computers differ without any setup; a name left empty is the same.
    char host[256] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(settings.DeskName(), host);
    KramoSettings emptied(reporter, ProgramDirectory());
    emptied.SetDeskName(" ");
    EXPECT_EQ(emptied.DeskName(), host);
    EXPECT_THAT(reporter.reported, IsEmpty());
}

TEST_F(KramoSettingsTest, SavedFileHasTheFixedLayout) {
    KramoSettings settings(reporter, ProgramDirectory());
    settings.SetServerAddress("10.0.0.5");
    settings.SetUser("kasa");
    settings.SetPassword("tajne");
    settings.SetDatabaseName("kramo");
    settings.SetPort(5433);
    settings.SetPrintReceipts(Kramo::ReceiptPrinting::Always);
    settings.SetDeskName("Pokladňa 1");
    settings.SaveSettings();
    EXPECT_EQ(SettingsFile(),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
              "<kramo>\n"
              "\t<config\n"
              "\t\tsalename=\"Jarna kramo 2012\"\n"
              "\t\tfontSize=\"-1\"\n"
              "\t\t>\n"
              "\t\t<server\n"
              "\t\t\tdatabaseInLocalFiles=\"True\"\n"
              "\t\t\taddress=\"10.0.0.5\"\n"
              "\t\t\tuser=\"kasa\"\n"
              "\t\t\tpassword=\"tajne\"\n"
              "\t\t\tdbname=\"kramo\"\n"
              "\t\t\tport=\"5433\"\n"
              "\t\t\ttimeout=\"5\"\n"
              "\t\t\t />\n"
              "\t\t<labels\n"
              "\t\t\tlayout=\"\"\n"
              "\t\t\tfirstFree=\"1\"\n"
              "\t\t\t />\n"
              "\t\t<receipts\n"
              "\t\t\tpage=\"\"\n"
              "\t\t\tprint=\"always\"\n"
              "\t\t\tprinter=\"\"\n"
              "\t\t\t />\n"
              "\t\t<desk\n"
              "\t\t\tname=\"Pokladňa 1\"\n"
              "\t\t\t />\n"
              "\t\t<backup\n"
              "\t\t\tfolder=\"\"\n"
              "\t\t\teveryMinutes=\"0\"\n"
              "\t\t\tkeep=\"12\"\n"
              "\t\t\t />\n"
              "\t</config>\n"
              "</kramo>\n");
    EXPECT_THAT(reporter.reported, IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(directory.File("kramo.xml.tmp")));
}

TEST_F(KramoSettingsTest, EverySavedFieldSurvivesSaveAndLoad) {
    KramoSettings saved(reporter, ProgramDirectory());
    saved.SetSaleName("Jesenná \"kramo\" & <burza>\t'2026'");
    saved.SetFontSize(14);
    saved.SetDatabaseInLocalFiles(false);
    saved.SetServerAddress("192.168.1.20");
    saved.SetUser("pokladňa&1");
    saved.SetPassword("p\"a<s>s'&amp;");
    saved.SetDatabaseName("kramo db");
    saved.SetPort(-15432);
    saved.SetDatabaseTimeout(12);
    saved.SetReceiptPage("roll-58");
    saved.SetPrintReceipts(Kramo::ReceiptPrinting::Ask);
    saved.SetReceiptPrinterName("Pokladňa \"1\" & <2>");
    saved.SetDeskName("Pokladňa \"2\" & <vchod>");
    saved.SetBackupFolder("/media/usb/zálohy & <2>");
    saved.SetBackupEveryMinutes(10);
    saved.SetBackupKeep(5);
    saved.SaveSettings();

    const KramoSettings loaded(reporter, ProgramDirectory());
    EXPECT_EQ(loaded.SaleName(), saved.SaleName());
    EXPECT_EQ(loaded.FontSize(), 14);
    EXPECT_FALSE(loaded.DatabaseInLocalFiles());
    EXPECT_EQ(loaded.ServerAddress(), saved.ServerAddress());
    EXPECT_EQ(loaded.User(), saved.User());
    EXPECT_EQ(loaded.Password(), saved.Password());
    EXPECT_EQ(loaded.DatabaseName(), saved.DatabaseName());
    EXPECT_EQ(loaded.Port(), -15432);
    EXPECT_EQ(loaded.DatabaseTimeout(), 12);
    EXPECT_EQ(loaded.ReceiptPage(), "roll-58");
    EXPECT_EQ(loaded.PrintReceipts(), Kramo::ReceiptPrinting::Ask);
    EXPECT_EQ(loaded.ReceiptPrinterName(), saved.ReceiptPrinterName());
    EXPECT_EQ(loaded.DeskName(), saved.DeskName());
    EXPECT_EQ(loaded.BackupFolder(), saved.BackupFolder());
    EXPECT_EQ(loaded.BackupEveryMinutes(), 10);
    EXPECT_EQ(loaded.BackupKeep(), 5);
    EXPECT_THAT(reporter.reported, IsEmpty());
}

// A damaged file can hold a NUL byte in a value; saving used to cut the value there.
TEST_F(KramoSettingsTest, ValueWithANulByteSurvivesSaveAndLoad) {
    const char content[] = "<kramo><config salename=\"Ve\0k\xC3\xA1\"/></kramo>";
    WriteSettingsFile(std::string(content, sizeof content - 1));
    KramoSettings loaded(reporter, ProgramDirectory());
    ASSERT_EQ(loaded.SaleName(), std::string("Ve\0k\xC3\xA1", 6));
    loaded.SaveSettings();
    const KramoSettings again(reporter, ProgramDirectory());
    EXPECT_EQ(again.SaleName(), loaded.SaleName());
    EXPECT_THAT(reporter.reported, IsEmpty());
}

struct LoadCase {
    const char* name;
    std::string content;
    std::string saleName;
    int fontSize;
    bool inLocalFiles;
    int port;
    bool reported = false;  // as a file that could not be read
};

TEST_F(KramoSettingsTest, LoadTakesWhatTheFileHoldsAndKeepsTheRest) {
    const std::string defaultName = "Jarna kramo 2012";
    const LoadCase cases[] = {
        {"offered font size", "<kramo><config salename='A' fontSize='8'/></kramo>", "A", 8, true,
         5432},
        {"font size not offered", "<kramo><config fontSize='7'/></kramo>", defaultName, -1, true,
         5432},
        {"font size of letters", "<kramo><config fontSize='abc'/></kramo>", defaultName, -1, true,
         5432},
        {"font size with a tail", "<kramo><config fontSize='12pt'/></kramo>", defaultName, 12, true,
         5432},
        {"font size beyond int", "<kramo><config fontSize='99999999999999999999'/></kramo>",
         defaultName, -1, true, 5432},
        {"no salename", "<kramo><config><server port='1'/></config></kramo>", defaultName, -1, true,
         1},
        {"TRUE in capitals",
         "<kramo><config><server databaseInLocalFiles='TRUE'/></config></kramo>", defaultName, -1,
         true, 5432},
        {"yes is not true", "<kramo><config><server databaseInLocalFiles='yes'/></config></kramo>",
         defaultName, -1, false, 5432},
        {"names in capitals",
         "<KRAMO><CONFIG SALENAME='B' FontSize='16'><Server PORT='9'/>"
         "</CONFIG></KRAMO>",
         "B", 16, true, 9},
        {"port beyond int", "<kramo><config><server port='-99999999999'/></config></kramo>",
         defaultName, -1, true, -2147483647 - 1},
        {"server outside config", "<kramo><server port='3'/><config salename='C'/></kramo>", "C",
         -1, true, 5432},
        {"read up to the first error",
         "<kramo><config salename='D'><server port='4'/></Config><x fontSize='8'/></kramo>", "D",
         -1, true, 4, true},
        {"not XML at all", "salename=E", defaultName, -1, true, 5432, true},
        {"cut off before its end", "<kramo><config salename='F'/>", "F", -1, true, 5432, true},
        {"empty", "", defaultName, -1, true, 5432, true},
    };
    for (const LoadCase& c : cases) {
        WriteSettingsFile(c.content);
        ScriptedReporter loadReporter;
        const KramoSettings settings(loadReporter, ProgramDirectory());
        EXPECT_EQ(settings.SaleName(), c.saleName) << c.name;
        EXPECT_EQ(settings.FontSize(), c.fontSize) << c.name;
        EXPECT_EQ(settings.DatabaseInLocalFiles(), c.inLocalFiles) << c.name;
        EXPECT_EQ(settings.Port(), c.port) << c.name;
        EXPECT_EQ(loadReporter.reported.size(), c.reported ? 1u : 0u) << c.name;
    }
}

// A file that is there but cannot be read is said at once and kept, as kramo.xml.bad and then
// kramo.xml.bad.2, before a save replaces it; anything but a regular file is never opened.
TEST_F(KramoSettingsTest, UnreadableFileIsReportedAndKeptBeforeTheNextSave) {
    const std::string broken = "<kramo><config salename='G'/></Kramo>";
    WriteSettingsFile(broken);
    KramoSettings settings(reporter, ProgramDirectory());
    ASSERT_THAT(reporter.reported, testing::SizeIs(1));
    EXPECT_EQ(reporter.reported[0], "Súbor s nastavením " + ProgramDirectory() +
                                        "kramo.xml sa nedá prečítať: zápis XML je poškodený. Čo "
                                        "z neho prečítať nešlo, má predvolenú hodnotu. Pri "
                                        "najbližšom uložení nastavenia sa pôvodný súbor uschová "
                                        "ako kramo.xml.bad.");
    settings.SaveSettings();
    EXPECT_EQ(directory.ReadFile("kramo.xml.bad"), broken);
    EXPECT_EQ(KramoSettings(reporter, ProgramDirectory()).SaleName(), "G");
    EXPECT_THAT(reporter.reported, testing::SizeIs(1));

    WriteSettingsFile("<kramo>");
    KramoSettings again(reporter, ProgramDirectory());
    again.SaveSettings();
    EXPECT_EQ(directory.ReadFile("kramo.xml.bad"), broken);
    EXPECT_EQ(directory.ReadFile("kramo.xml.bad.2"), "<kramo>");

    std::filesystem::remove(directory.File("kramo.xml"));
    ASSERT_EQ(mkfifo(directory.File("kramo.xml").c_str(), 0600), 0);
    ScriptedReporter pipeReporter;
    KramoSettings fromPipe(pipeReporter, ProgramDirectory());
    ASSERT_THAT(pipeReporter.reported, testing::SizeIs(1));
    EXPECT_THAT(pipeReporter.reported[0], HasSubstr("nie je to obyčajný súbor. Čo z neho"));
    EXPECT_THAT(pipeReporter.reported[0], Not(HasSubstr(".bad")));
    fromPipe.SaveSettings();
    EXPECT_EQ(KramoSettings(pipeReporter, ProgramDirectory()).SaleName(), "Jarna kramo 2012");
    EXPECT_FALSE(std::filesystem::exists(directory.File("kramo.xml.bad.3")));
    EXPECT_THAT(pipeReporter.reported, testing::SizeIs(1));
}

// A word other than ask or always, in whatever case, keeps receipts off the printer.
TEST_F(KramoSettingsTest, ReceiptPrintingIsReadWhateverTheCase) {
    for (const char* word : {"ALWAYS", "yes"}) {
        WriteSettingsFile(std::string("<kramo><config><receipts print='") + word +
                          "'/></config></kramo>");
        EXPECT_EQ(KramoSettings(reporter, ProgramDirectory()).PrintReceipts(),
                  word[0] == 'A' ? Kramo::ReceiptPrinting::Always : Kramo::ReceiptPrinting::Off);
    }
}

TEST_F(KramoSettingsTest, ReadsAFileSavedAsUtf16) {
    const std::u16string content = u"\uFEFF<kramo><config salename=\"Veľká kramo\"/></kramo>";
    std::string bytes;
    for (const char16_t unit : content) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    WriteSettingsFile(bytes);
    const KramoSettings settings(reporter, ProgramDirectory());
    EXPECT_EQ(settings.SaleName(), "Veľká kramo");
}

TEST_F(KramoSettingsTest, FileTooLargeToReadIsReportedAndChangesNothing) {
    WriteSettingsFile("<kramo><config salename='X'/></kramo>");
    std::filesystem::resize_file(directory.File("kramo.xml"),
                                 irr::io::CXMLReaderImpl::MaximumInputSize + 1);
    const KramoSettings settings(reporter, ProgramDirectory());
    EXPECT_EQ(settings.SaleName(), "Jarna kramo 2012");
    EXPECT_THAT(reporter.reported, ElementsAre("Súbor s nastavením nenájdený"));
    EXPECT_THAT(log.Text(), HasSubstr("CXmlWrapperTools::ReadTreeFromDiskFile() error.\n"));
}

struct SaveFailureCase {
    const char* name;
    void (*prepare)(const TemporaryDirectory& directory);
    const char* reported;
};

TEST_F(KramoSettingsTest, FailedSaveKeepsTheFormerFile) {
    const SaveFailureCase cases[] = {
        {"temporary file cannot be made",
         [](const TemporaryDirectory& d) {
             std::filesystem::create_directory(d.File("kramo.xml.tmp"));
             d.WriteFile("kramo.xml.tmp/keep", "");
         },
         "Súbor s nastavením sa nedá zapísať."},
        {"disk full while writing",
         [](const TemporaryDirectory& d) {
             std::filesystem::create_symlink("/dev/full", d.File("kramo.xml.tmp"));
         },
         "Súbor s nastavením sa nedá vyplniť XML údajmi."},
    };
    const std::string former = "<kramo><config salename='Former'/></kramo>";
    for (const SaveFailureCase& c : cases) {
        TemporaryDirectory place;
        place.WriteFile("kramo.xml", former);
        c.prepare(place);
        ScriptedReporter saveReporter;
        KramoSettings settings(saveReporter, place.Path() + "/");
        settings.SetSaleName("New");
        settings.SaveSettings();
        EXPECT_THAT(saveReporter.reported, ElementsAre(c.reported)) << c.name;
        EXPECT_EQ(place.ReadFile("kramo.xml"), former) << c.name;
        EXPECT_EQ(settings.SaleName(), "New") << c.name;
    }
}

// A real disk that is full: no room for the content, or not even for a new file.
TEST(KramoSettingsFullDisk, SaveIsReportedAndTheFormerFileStaysWhole) {
    struct Case {
        const char* name;
        std::function<void(KramoTest::SmallDisk&)> fill;
        const char* reported;
    };
    const Case cases[] = {
        {"no free space", [](KramoTest::SmallDisk& disk) { disk.FillLeaving(0); },
         "Súbor s nastavením sa nedá vyplniť XML údajmi."},
        {"no free file", [](KramoTest::SmallDisk& disk) { disk.FillInodes(); },
         "Súbor s nastavením sa nedá zapísať."},
    };
    KramoTest::LogCapture log;
    for (const Case& c : cases) {
        KramoTest::SmallDisk disk(64 * 1024, 64);
        const std::string programDirectory = disk.Path() + "/";
        ScriptedReporter reporter;
        KramoSettings settings(reporter, programDirectory);
        settings.SetSaleName("Jarna kramo 2026");
        settings.SetFontSize(12);
        settings.SaveSettings();
        const std::string former = KramoTest::ReadWholeFile(settings.FilePath());

        c.fill(disk);
        settings.SetSaleName("Jesenna kramo 2026");
        settings.SetFontSize(16);
        settings.SaveSettings();
        EXPECT_THAT(reporter.reported, ElementsAre(c.reported)) << c.name;
        EXPECT_EQ(KramoTest::ReadWholeFile(settings.FilePath()), former) << c.name;
        EXPECT_FALSE(std::filesystem::exists(settings.FilePath() + ".tmp")) << c.name;
        const KramoSettings reloaded(reporter, programDirectory);
        EXPECT_EQ(reloaded.SaleName(), "Jarna kramo 2026") << c.name;
        EXPECT_EQ(reloaded.FontSize(), 12) << c.name;

        disk.Release();
        settings.SaveSettings();
        EXPECT_EQ(KramoSettings(reporter, programDirectory).SaleName(), "Jesenna kramo 2026")
            << c.name;
        EXPECT_EQ(reporter.reported.size(), 1u) << c.name;
    }
}

TEST_F(KramoSettingsTest, SaveThatCannotReplaceTheFileLeavesNoTemporaryBehind) {
    std::filesystem::create_directory(directory.File("kramo.xml"));
    directory.WriteFile("kramo.xml/keep", "");
    KramoSettings settings(reporter, ProgramDirectory());
    settings.SaveSettings();
    EXPECT_THAT(reporter.reported, ElementsAre(HasSubstr("nie je to obyčajný súbor"),
                                               "Súbor s nastavením sa nedá zapísať."));
    EXPECT_FALSE(std::filesystem::exists(directory.File("kramo.xml.tmp")));
}

TEST(KramoSettings, ProgramDirectoryIsTheFolderOfTheRunningProgram) {
    const std::string directory = KramoSettings::RunningProgramDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(directory + "settings_tests")) << directory;
}

}  // namespace

// Where the program keeps its files: beside itself in a build folder it may write, else in the
// user's folders, whatever the environment gives.
TEST(ProgramFoldersTest, BuildFolderKeepsItsLayoutAnInstalledProgramFollowsTheUser) {
    struct Case {
        const char* name;
        bool ownFolder;
        std::vector<std::pair<const char*, const char*>> environment;
        std::string userDirs;
        const char* settings;
        const char* log;
        const char* bazaar;
    };
    const std::vector<Case> cases = {
        {"build folder",
         true,
         {{"HOME", "/home/eva"}, {"XDG_CONFIG_HOME", "/x/c"}},
         "",
         "/opt/b/",
         "kramo-log.txt",
         ""},
        {"no XDG variables",
         false,
         {{"HOME", "/home/eva"}},
         "",
         "/home/eva/.config/kramo/",
         "/home/eva/.local/state/kramo/kramo-log.txt",
         "/home/eva/Documents/Kramo/"},
        {"XDG variables",
         false,
         {{"HOME", "/home/eva"}, {"XDG_CONFIG_HOME", "/x/c"}, {"XDG_STATE_HOME", "/x/s/"}},
         "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumenty\"\n",
         "/x/c/kramo/",
         "/x/s/kramo/kramo-log.txt",
         "/home/eva/Dokumenty/Kramo/"},
        {"relative variables and documents count as unset",
         false,
         {{"HOME", "/home/eva/"}, {"XDG_CONFIG_HOME", "c"}, {"XDG_STATE_HOME", ""}},
         "XDG_DOCUMENTS_DIR=\"$HOME\"\n",
         "/home/eva/.config/kramo/",
         "/home/eva/.local/state/kramo/kramo-log.txt",
         "/home/eva/Documents/Kramo/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto environment = [&c](const char* name) -> const char* {
            for (const auto& [key, value] : c.environment) {
                if (std::string(key) == name) {
                    return value;
                }
            }
            return nullptr;
        };
        const Kramo::ProgramFolders folders =
            Kramo::ProgramFolders::Choose("/opt/b/", c.ownFolder, environment, c.userDirs);
        EXPECT_EQ(folders.Installed(), !c.ownFolder);
        EXPECT_EQ(folders.SettingsDirectory(), c.settings);
        EXPECT_EQ(folders.LogFile(), c.log);
        EXPECT_EQ(folders.DefaultBazaarDirectory(), c.bazaar);
    }
}

// An installed program finds its window description in share/kramo/ and keeps its data and
// documents in the bazaar folder the settings name, which it writes back with them.
TEST_F(KramoSettingsTest, InstalledProgramKeepsItsDataInTheBazaarFolder) {
    const std::string root = ProgramDirectory();
    ASSERT_TRUE(Kramo::ProgramFolders::CreateFolders(root + "usr/bin"));
    ASSERT_TRUE(Kramo::ProgramFolders::CreateFolders(root + "usr/share/kramo"));
    directory.WriteFile("usr/share/kramo/kramo.glade", "<glade-interface/>");
    const std::string home = root + "home";
    const auto environment = [&home](const char* name) -> const char* {
        return std::string(name) == "HOME" ? home.c_str() : nullptr;
    };
    const auto folders =
        Kramo::ProgramFolders::Choose(root + "usr/bin/", false, environment, std::string());
    EXPECT_TRUE(std::filesystem::is_regular_file(folders.GladeFile()));

    KramoSettings settings(reporter, folders);
    EXPECT_EQ(settings.DataDirectory(), home + "/Documents/Kramo/data/");
    EXPECT_EQ(settings.DocumentsDirectory(), home + "/Documents/Kramo/documents/");
    settings.SetBazaarDirectory("/media/usb/bazar");
    settings.SaveSettings();  // the configuration folder is made on the way
    EXPECT_THAT(reporter.reported, IsEmpty());

    const KramoSettings again(reporter, folders);
    EXPECT_EQ(again.FilePath(), home + "/.config/kramo/kramo.xml");
    EXPECT_EQ(again.DataDirectory(), "/media/usb/bazar/data/");
    EXPECT_EQ(again.DocumentsDirectory(), "/media/usb/bazar/documents/");
}
