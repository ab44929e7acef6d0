#include "PdfDocuments.h"

#include "pdf/HPDFWrapper.h"
#include "pdf/StreamedPdfCanvas.h"
#include "register/ExceptionHandlers.h"
#include "support/FileHelpers.h"

namespace Kramo {

std::string DocumentsFolder(const KramoSettings& settings) {
    std::string folder = settings.DocumentsDirectory();
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    // A folder that cannot be made shows as the document's own failure to be saved.
    CreateDirectoryIfMissing(folder);
    return folder;
}

bool WriteDocument(const KramoSettings& settings, const std::string& path,
                   const std::function<void(PdfWrapperBase&)>& content) {
    try {
        HPDFWrapper writer;
        writer.SetOrigin(settings.SaleName(), settings.ComputerName());
        writer.Open(path);
        content(writer);
        writer.Close();
        return true;
    } catch (const std::exception& failure) {
        HandlePdfExceptions(failure);
        return false;
    }
}

bool WriteStreamedDocument(const KramoSettings& settings, const std::string& path,
                           const std::function<void(PdfCanvas&)>& content) {
    try {
        WriteStreamedPdf(path, settings.SaleName(), settings.ComputerName(), content);
        return true;
    } catch (const std::exception& failure) {
        HandlePdfExceptions(failure);
        return false;
    }
}

}  // namespace Kramo
