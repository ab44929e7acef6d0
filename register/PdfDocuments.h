#pragma once

#include <functional>
#include <string>

#include "pdf/PdfWrapperBase.h"
#include "settings/KramoSettings.h"

namespace Kramo {

// The documents folder of the settings, created when it is missing; ends with '/'.
std::string DocumentsFolder(const KramoSettings& settings);

// Writes one PDF document to the path: a writer marked with the sale and the computer of the
// settings, the content drawn into it, the document saved. A failure is reported through
// HandlePdfExceptions (what was drawn before it is still saved); false then.
bool WriteDocument(const KramoSettings& settings, const std::string& path,
                   const std::function<void(PdfWrapperBase&)>& content);

// The same for a document drawn on a canvas that goes to the file page by page.
bool WriteStreamedDocument(const KramoSettings& settings, const std::string& path,
                           const std::function<void(PdfCanvas&)>& content);

}  // namespace Kramo
