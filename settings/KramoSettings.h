#pragma once

#include <algorithm>
#include <string>

#include "settings/ExceptionReporter.h"
#include "settings/ProgramFolders.h"

namespace Kramo {

class CXmlNode;

// Whether a finished purchase's receipt goes to the printer: never, after a question, or always.
enum class ReceiptPrinting { Off, Ask, Always };

// The program's settings: the sale, the interface font, where the data lives, the labels and
// receipts, and the folders beside the program. Sale name, font size, store choice, connection
// data, the label sheet and the receipts' paper and printing live in "kramo.xml" in the program
// directory; the rest is fixed or set while the program runs.
class KramoSettings {
  public:
    static constexpr const char* FileName = "kramo.xml";

    // The defaults for the running program's directory, then the file's values.
    explicit KramoSettings(ExceptionReporter& reporter);
    // The same for a given program directory, which ends with its separator.
    KramoSettings(ExceptionReporter& reporter, std::string programDirectory);
    // The same for the folders chosen for the program.
    KramoSettings(ExceptionReporter& reporter, ProgramFolders folders);

    // Missing settings in the file keep their values; a font size that is not offered becomes -1.
    // A file that is there but cannot be read (not a regular file, no right to read it, broken
    // XML, no <kramo> element) is reported; what was read before a fault still applies.
    void LoadSettings();
    // Replaces the file as a whole or leaves it untouched; a failure goes to the reporter. A file
    // that could not be read at the last load is first kept as "kramo.xml.bad" (".bad.2", ...
    // when that is taken); when it cannot be kept, nothing is saved.
    void SaveSettings();

    // The folder of the running program file, with its trailing separator.
    static std::string RunningProgramDirectory();

    const std::string& CurrencyUnit() const { return currencyUnit_; }
    const std::string& CurrencyCode() const { return currencyCode_; }
    const std::string& DataDirectory() const { return dataDirectory_; }
    const std::string& ComputerName() const { return computerName_; }
    const std::string& DocumentsDirectory() const { return documentsDirectory_; }
    const std::string& ProgramDirectory() const { return folders_.ProgramDirectory(); }
    std::string FilePath() const { return folders_.SettingsDirectory() + FileName; }
    std::string GladeFile() const { return folders_.GladeFile(); }
    // The folder holding data/ and documents/ of an installed program; empty beside the
    // program, whose data/ and documents/ lie in its own folder.
    const std::string& BazaarDirectory() const { return bazaarDirectory_; }
    // An installed program, whose data lies in the bazaar folder rather than beside it.
    bool Installed() const { return folders_.Installed(); }
    // Taken only by an installed program, and only an absolute folder.
    void SetBazaarDirectory(std::string folder);

    const std::string& SaleName() const { return saleName_; }
    void SetSaleName(std::string name) { saleName_ = std::move(name); }
    const std::string& LastImportFolder() const { return lastImportFolder_; }
    void SetLastImportFolder(std::string folder) { lastImportFolder_ = std::move(folder); }
    bool DatabaseInLocalFiles() const { return databaseInLocalFiles_; }
    void SetDatabaseInLocalFiles(bool inLocalFiles) { databaseInLocalFiles_ = inLocalFiles; }
    const std::string& ServerAddress() const { return serverAddress_; }
    void SetServerAddress(std::string address) { serverAddress_ = std::move(address); }
    const std::string& User() const { return user_; }
    void SetUser(std::string user) { user_ = std::move(user); }
    const std::string& Password() const { return password_; }
    void SetPassword(std::string password) { password_ = std::move(password); }
    const std::string& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(std::string name) { databaseName_ = std::move(name); }
    int Port() const { return port_; }
    void SetPort(int port) { port_ = port; }
    // Seconds the database may take to answer before a desk reports it unreachable.
    int DatabaseTimeout() const { return databaseTimeout_; }
    void SetDatabaseTimeout(int seconds) { databaseTimeout_ = seconds; }
    int FontSize() const { return fontSize_; }
    void SetFontSize(int size) { fontSize_ = size; }
    // The key of the label sheet the item labels are printed on; empty for the first offered.
    const std::string& LabelLayout() const { return labelLayout_; }
    void SetLabelLayout(std::string key) { labelLayout_ = std::move(key); }
    // Where on the first sheet the labels start (1 = top left), for a sheet used in part.
    int FirstFreeLabel() const { return firstFreeLabel_; }
    void SetFirstFreeLabel(int position) { firstFreeLabel_ = std::max(1, position); }
    // The key of the paper receipts are written for; empty for the A4 sheet.
    const std::string& ReceiptPage() const { return receiptPage_; }
    void SetReceiptPage(std::string key) { receiptPage_ = std::move(key); }
    ReceiptPrinting PrintReceipts() const { return printReceipts_; }
    void SetPrintReceipts(ReceiptPrinting printing) { printReceipts_ = printing; }
    // The CUPS name of the receipt printer; empty for the default printer.
    const std::string& ReceiptPrinterName() const { return receiptPrinterName_; }
    void SetReceiptPrinterName(std::string name) { receiptPrinterName_ = std::move(name); }
    // The name of this cash desk, stored with every sale it records; the computer's host name
    // until one is set, so that desks on different computers differ without any setup. An
    // empty name gives the host name again.
    const std::string& DeskName() const { return deskName_; }
    void SetDeskName(std::string name);
    // The automatic backup of the text store's data during the sale: into this folder every so
    // many minutes (0: never), keeping the newest backups there (0: all of them).
    const std::string& BackupFolder() const { return backupFolder_; }
    void SetBackupFolder(std::string folder) { backupFolder_ = std::move(folder); }
    int BackupEveryMinutes() const { return backupEveryMinutes_; }
    void SetBackupEveryMinutes(int minutes) { backupEveryMinutes_ = std::max(0, minutes); }
    int BackupKeep() const { return backupKeep_; }
    void SetBackupKeep(int count) { backupKeep_ = std::max(0, count); }

  private:
    void ReadFile();
    void ReportUnreadable(const std::string& reason, bool keep);
    bool KeepUnreadableFile();
    void ReadConfig(CXmlNode& config);
    void ReadServer(CXmlNode& server);
    void ReadLabels(CXmlNode& labels);
    void ReadReceipts(CXmlNode& receipts);
    void ReadDesk(CXmlNode& desk);
    void ReadBackup(CXmlNode& backup);
    void ReadFolders(CXmlNode& folders);
    void BuildTree(CXmlNode& document) const;

    ExceptionReporter& reporter_;
    ProgramFolders folders_;
    std::string currencyUnit_ = "eur";
    std::string currencyCode_ = "EUR";
    std::string dataDirectory_;
    std::string computerName_ = "PC123";
    std::string saleName_ = "Jarna kramo 2012";
    std::string documentsDirectory_;
    std::string lastImportFolder_;
    bool databaseInLocalFiles_ = true;
    std::string serverAddress_;
    std::string user_;
    std::string password_;
    std::string databaseName_;
    int port_ = 5432;  // the PostgreSQL server's usual port, until a file names another
    int databaseTimeout_ = 5;
    int fontSize_ = -1;
    std::string labelLayout_;
    int firstFreeLabel_ = 1;
    std::string receiptPage_;
    ReceiptPrinting printReceipts_ = ReceiptPrinting::Off;
    std::string receiptPrinterName_;
    std::string deskName_;
    std::string backupFolder_;
    int backupEveryMinutes_ = 0;
    int backupKeep_ = 12;
    std::string bazaarDirectory_;
    // The file could not be read at the last load: kept aside before the next save replaces it.
    bool keepBeforeSaving_ = false;
};

}  // namespace Kramo
