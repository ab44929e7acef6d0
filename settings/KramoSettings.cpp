#include "settings/KramoSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "settings/CXmlNode.h"
#include "settings/CXmlWrapperTools.h"
#include "settings/FontSizeOption.h"
#include "support/CConvFile.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

// Message IDs, translated where they are reported.
const char* const FileNotFound = N_("Súbor s nastavením nenájdený");
const char* const FileNotFilled = N_("Súbor s nastavením sa nedá vyplniť XML údajmi.");
const char* const FileNotWritten = N_("Súbor s nastavením sa nedá zapísať.");

// Numbered names for unreadable settings files kept one after another: kramo.xml.bad,
// kramo.xml.bad.2, ... up to this one.
constexpr int MostKeptFiles = 100;

// What the settings file is before it is opened: a named pipe would never end the reading, so
// anything but a regular file is refused unopened.
struct FileCheck {
    bool missing = false;  // the first start: nothing to say
    bool regular = false;
    std::string unreadable;  // why it cannot be read; empty when it can
};

FileCheck CheckFile(const std::string& path) {
    FileCheck check;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        check.missing = errno == ENOENT;
        check.unreadable = std::strerror(errno);
        return check;
    }
    check.regular = S_ISREG(status.st_mode);
    if (!check.regular) {
        check.unreadable = _("nie je to obyčajný súbor");
    } else if (::access(path.c_str(), R_OK) != 0) {
        check.unreadable = errno == EACCES ? _("chýba právo na čítanie") : std::strerror(errno);
    }
    return check;
}

// Gives the file at path a second name, so that replacing path loses nothing: a hard link, or,
// where the file system has none, a rename; never over another file. True when the file has
// the name keptAs, or is gone (keptAs empty); false, with errno, when no name could be given.
bool KeepUnder(const std::string& path, const std::string& baseName, std::string& keptAs) {
    keptAs.clear();
    for (int number = 1; number <= MostKeptFiles; ++number) {
        const std::string name = number == 1 ? baseName : baseName + "." + std::to_string(number);
        if (::link(path.c_str(), name.c_str()) == 0 ||
            (errno != EEXIST && errno != ENOENT &&
             ::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0)) {
            keptAs = name;
            return true;
        }
        if (errno == ENOENT) {
            return true;  // gone meanwhile: nothing left to keep
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

// Leading digits with an optional sign, as atoi reads them, but held inside the int range.
int LeadingInteger(const std::string& text) {
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX || (errno == ERANGE && value > 0)) {
        return INT_MAX;
    }
    if (value < INT_MIN || (errno == ERANGE && value < 0)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// Copies the attribute's value into text when the element has the attribute.
bool ReadAttribute(CXmlNode& element, const char* name, std::string& text) {
    const CXmlNode& attribute = element.FindAttribute(name);
    if (attribute.IsNull()) {
        return false;
    }
    text = attribute.GetText();
    return true;
}

void ReadIntegerAttribute(CXmlNode& element, const char* name, int& value) {
    std::string text;
    if (ReadAttribute(element, name, text)) {
        value = LeadingInteger(text);
    }
}

void AddIntegerAttribute(CXmlNode& element, const char* name, int value) {
    element.AddAttribute(name, std::string()).SetValueInt(value);
}

const char* NameOfPrinting(ReceiptPrinting printing) {
    switch (printing) {
        case ReceiptPrinting::Ask:
            return "ask";
        case ReceiptPrinting::Always:
            return "always";
        case ReceiptPrinting::Off:
            break;
    }
    return "off";
}

// A name the file does not know prints nothing, as before there was printing.
ReceiptPrinting PrintingOfName(const std::string& name) {
    for (const ReceiptPrinting printing : {ReceiptPrinting::Ask, ReceiptPrinting::Always}) {
        if (EqualIgnoringCase(name, NameOfPrinting(printing))) {
            return printing;
        }
    }
    return ReceiptPrinting::Off;
}

// Writes the tree into a new file at path; the failure's text, or none when all went well.
const char* WriteNewFile(const CXmlNode& document, const std::string& path) {
    ConvFile::CConvFile file;
    if (!file.Open(path, ConvFile::CConvFile::ForWriting)) {
        return FileNotWritten;
    }
    const bool written =
        CXmlWrapperTools::WriteSimpleXmlFile(file, document) == CXmlWrapperTools::Written &&
        file.Flush();
    return file.Close() && written ? nullptr : FileNotFilled;
}

std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "Pokladňa";
    }
    return name;
}

}  // namespace

KramoSettings::KramoSettings(ExceptionReporter& reporter)
    : KramoSettings(reporter, ProgramFolders::ForRunningProgram()) {}

KramoSettings::KramoSettings(ExceptionReporter& reporter, std::string programDirectory)
    : KramoSettings(reporter, ProgramFolders::Choose(programDirectory, true, {}, {})) {}

KramoSettings::KramoSettings(ExceptionReporter& reporter, ProgramFolders folders)
    : reporter_(reporter),
      folders_(std::move(folders)),
      dataDirectory_(folders_.ProgramDirectory() + "data/"),
      documentsDirectory_(folders_.ProgramDirectory() + "/documents/"),
      deskName_(HostName()) {
    SetBazaarDirectory(folders_.DefaultBazaarDirectory());
    LoadSettings();
}

void KramoSettings::SetBazaarDirectory(std::string folder) {
    // Beside the program the data and documents never move. Only an absolute folder: a
    // relative one would follow whatever the working folder is.
    if (!folders_.Installed() || folder.empty() || folder[0] != '/') {
        return;
    }
    if (folder.back() != '/') {
        folder += '/';
    }
    bazaarDirectory_ = std::move(folder);
    dataDirectory_ = bazaarDirectory_ + "data/";
    documentsDirectory_ = bazaarDirectory_ + "documents/";
}

std::string KramoSettings::RunningProgramDirectory() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    // Without /proc the working directory is the best guess, and never the root folder.
    if (error) {
        return "./";
    }
    return program.remove_filename().string();
}

void KramoSettings::LoadSettings() {
    keepBeforeSaving_ = false;
    const FileCheck check = CheckFile(FilePath());
    if (check.unreadable.empty()) {
        ReadFile();
    } else if (!check.missing) {
        ReportUnreadable(check.unreadable, check.regular);
    }
    if (!IsOfferedFontSize(fontSize_)) {
        fontSize_ = -1;
    }
}

void KramoSettings::ReadFile() {
    CXmlNode document;
    bool wellFormed = false;
    if (!CXmlWrapperTools::ReadTreeFromDiskFile(FilePath(), document, &wellFormed)) {
        keepBeforeSaving_ = true;
        reporter_.HandleException(std::runtime_error(_(FileNotFound)));
        return;
    }
    // What was read before a fault still applies.
    CXmlNode& kramo = document.FindChild("kramo");
    CXmlNode& config = kramo.FindChild("config");
    ReadConfig(config);
    ReadServer(config.FindChild("server"));
    ReadLabels(config.FindChild("labels"));
    ReadReceipts(config.FindChild("receipts"));
    ReadDesk(config.FindChild("desk"));
    ReadBackup(config.FindChild("backup"));
    ReadFolders(config.FindChild("folders"));
    if (!wellFormed) {
        ReportUnreadable(_("zápis XML je poškodený"), true);
    } else if (kramo.IsNull()) {
        ReportUnreadable(_("neobsahuje nastavenie programu (prvok <kramo>)"), true);
    }
}

// A file that is there but holds no settings the program can take: said at once, so that the
// user knows the defaults are in use, and kept aside when the next save replaces it.
void KramoSettings::ReportUnreadable(const std::string& reason, bool keep) {
    keepBeforeSaving_ = keep;
    LogMessage(LogError, "Settings file '%s' could not be read%s\n", FilePath().c_str(),
               keep ? "; it is kept aside at the next save" : "");
    // TRANSLATORS: the settings file's path and why it cannot be read.
    std::string text = FormatText(_("Súbor s nastavením %s sa nedá prečítať: %s. Čo z neho "
                                    "prečítať nešlo, má predvolenú hodnotu."),
                                  FilePath().c_str(), reason.c_str());
    if (keep) {
        text += FormatText(
            _(" Pri najbližšom uložení nastavenia sa pôvodný súbor uschová ako %s.bad."), FileName);
    }
    reporter_.HandleException(std::runtime_error(text));
}

void KramoSettings::ReadConfig(CXmlNode& config) {
    ReadAttribute(config, "salename", saleName_);
    ReadIntegerAttribute(config, "fontSize", fontSize_);
}

void KramoSettings::ReadServer(CXmlNode& server) {
    std::string inLocalFiles;
    if (ReadAttribute(server, "databaseInLocalFiles", inLocalFiles)) {
        databaseInLocalFiles_ = EqualIgnoringCase(inLocalFiles, "true");
    }
    ReadAttribute(server, "address", serverAddress_);
    ReadAttribute(server, "user", user_);
    ReadAttribute(server, "password", password_);
    ReadAttribute(server, "dbname", databaseName_);
    ReadIntegerAttribute(server, "port", port_);
    ReadIntegerAttribute(server, "timeout", databaseTimeout_);
    // Below a second every busy moment fails; above minutes a desk looks frozen.
    databaseTimeout_ = std::clamp(databaseTimeout_, 1, 300);
}

void KramoSettings::ReadLabels(CXmlNode& labels) {
    ReadAttribute(labels, "layout", labelLayout_);
    ReadIntegerAttribute(labels, "firstFree", firstFreeLabel_);
    firstFreeLabel_ = std::max(1, firstFreeLabel_);
}

void KramoSettings::ReadReceipts(CXmlNode& receipts) {
    ReadAttribute(receipts, "page", receiptPage_);
    std::string printing;
    if (ReadAttribute(receipts, "print", printing)) {
        printReceipts_ = PrintingOfName(printing);
    }
    ReadAttribute(receipts, "printer", receiptPrinterName_);
}

void KramoSettings::ReadDesk(CXmlNode& desk) {
    std::string name;
    if (ReadAttribute(desk, "name", name)) {
        SetDeskName(std::move(name));
    }
}

void KramoSettings::ReadBackup(CXmlNode& backup) {
    ReadAttribute(backup, "folder", backupFolder_);
    ReadIntegerAttribute(backup, "everyMinutes", backupEveryMinutes_);
    ReadIntegerAttribute(backup, "keep", backupKeep_);
    backupEveryMinutes_ = std::max(0, backupEveryMinutes_);
    backupKeep_ = std::max(0, backupKeep_);
}

void KramoSettings::ReadFolders(CXmlNode& folders) {
    std::string bazaar;
    if (ReadAttribute(folders, "bazaar", bazaar)) {
        SetBazaarDirectory(std::move(bazaar));
    }
}

void KramoSettings::SetDeskName(std::string name) {
    deskName_ = name.find_first_not_of(" \t") == std::string::npos ? HostName() : std::move(name);
}

void KramoSettings::BuildTree(CXmlNode& document) const {
    CXmlNode& config = document.AddChild("kramo").AddChild("config");
    config.AddAttribute("salename", saleName_);
    AddIntegerAttribute(config, "fontSize", fontSize_);
    CXmlNode& server = config.AddChild("server");
    server.AddAttribute("databaseInLocalFiles", databaseInLocalFiles_ ? "True" : "False");
    server.AddAttribute("address", serverAddress_);
    server.AddAttribute("user", user_);
    server.AddAttribute("password", password_);
    server.AddAttribute("dbname", databaseName_);
    AddIntegerAttribute(server, "port", port_);
    AddIntegerAttribute(server, "timeout", databaseTimeout_);
    CXmlNode& labels = config.AddChild("labels");
    labels.AddAttribute("layout", labelLayout_);
    AddIntegerAttribute(labels, "firstFree", firstFreeLabel_);
    CXmlNode& receipts = config.AddChild("receipts");
    receipts.AddAttribute("page", receiptPage_);
    receipts.AddAttribute("print", NameOfPrinting(printReceipts_));
    receipts.AddAttribute("printer", receiptPrinterName_);
    config.AddChild("desk").AddAttribute("name", deskName_);
    CXmlNode& backup = config.AddChild("backup");
    backup.AddAttribute("folder", backupFolder_);
    AddIntegerAttribute(backup, "everyMinutes", backupEveryMinutes_);
    AddIntegerAttribute(backup, "keep", backupKeep_);
    if (folders_.Installed()) {
        config.AddChild("folders").AddAttribute("bazaar", bazaarDirectory_);
    }
}

// The new settings go to a file beside the old one, which they replace only once they are
// safely on the disk: a failure half-way keeps every earlier setting.
void KramoSettings::SaveSettings() {
    CXmlNode document;
    BuildTree(document);
    const std::string target = FilePath();
    if (folders_.Installed()) {
        ProgramFolders::CreateFolders(folders_.SettingsDirectory());
    }
    const std::string temporary = target + ".tmp";
    const char* failure = WriteNewFile(document, temporary);
    if (failure == nullptr && keepBeforeSaving_ && !KeepUnreadableFile()) {
        failure = FileNotWritten;
    }
    if (failure == nullptr && std::rename(temporary.c_str(), target.c_str()) != 0) {
        failure = FileNotWritten;
    }
    if (failure != nullptr) {
        std::remove(temporary.c_str());
        reporter_.HandleException(std::runtime_error(_(failure)));
    }
}

// The user's unreadable file is never replaced unseen: it stays as kramo.xml.bad (or .bad.2,
// ... when an earlier one is kept there already).
bool KramoSettings::KeepUnreadableFile() {
    std::string kept;
    if (!KeepUnder(FilePath(), FilePath() + ".bad", kept)) {
        LogMessage(LogError, "Settings file '%s' could not be kept aside: %s\n", FilePath().c_str(),
                   std::strerror(errno));
        return false;
    }
    if (!kept.empty()) {
        LogMessage(LogNotice, "Settings file '%s' that could not be read is kept as '%s'\n",
                   FilePath().c_str(), kept.c_str());
    }
    keepBeforeSaving_ = false;
    return true;
}

}  // namespace Kramo
