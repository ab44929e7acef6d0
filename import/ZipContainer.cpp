#include "ZipContainer.h"

#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "support/FileHelpers.h"
#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

namespace KramoExcel {
namespace {

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorHandle = std::unique_ptr<GError, ErrorFree>;

const char* MessageOf(const ErrorHandle& error) {
    return error ? error->message : "no reason given";
}

// The child of a folder of the container, by exact name or else by name without letter case.
GsfInput* ChildNamed(GsfInfile* folder, const std::string& name) {
    if (GsfInput* child = gsf_infile_child_by_name(folder, name.c_str())) {
        return child;
    }
    const int count = gsf_infile_num_children(folder);
    for (int index = 0; index < count; ++index) {
        const char* childName = gsf_infile_name_by_index(folder, index);
        if (childName != nullptr && Kramo::EqualIgnoringCase(childName, name)) {
            return gsf_infile_child_by_index(folder, index);
        }
    }
    return nullptr;
}

}  // namespace

ZipContainer::ZipContainer(const std::string& path) {
    // Opened as a regular file first: a named pipe under a sheet's name must not stall the
    // import.
    Kramo::FileHandle opened = Kramo::OpenRegularFile(path, "rb");
    if (!opened) {
        Kramo::LogMessage(Kramo::LogNotice, "Workbook '%s' not opened: %s\n", path.c_str(),
                          std::strerror(errno));
        throw std::runtime_error(_("súbor sa nepodarilo otvoriť"));
    }
    GObjectHandle<GsfInput> file(gsf_input_stdio_new_FILE(path.c_str(), opened.release(), FALSE));
    if (!file) {
        throw std::runtime_error(_("súbor sa nepodarilo otvoriť"));
    }
    const gsf_off_t size = gsf_input_size(file.get());
    if (size < 0 || static_cast<std::size_t>(size) > MaxFileBytes) {
        throw std::runtime_error(
            Kramo::FormatText(_("súbor je väčší ako %zu MB, taký hárok predajcu program nenačíta"),
                              MaxFileBytes >> 20));
    }
    fileBytes_ = static_cast<std::size_t>(size);
    GError* rawError = nullptr;
    zip_.reset(gsf_infile_zip_new(file.get(), &rawError));
    const ErrorHandle error(rawError);
    if (!zip_) {
        Kramo::LogMessage(Kramo::LogNotice, "Workbook '%s' is no readable zip file: %s\n",
                          path.c_str(), MessageOf(error));
        throw std::runtime_error(
            _("súbor nie je úplný archív ZIP, v akom sú uložené zošity xlsx a ods: je poškodený, "
              "neúplný alebo zašifrovaný"));
    }
}

GsfInput* ZipContainer::Find(const std::string& partName) const {
    GObjectHandle<GsfInput> current(GSF_INPUT(g_object_ref(zip_.get())));
    for (const std::string& name : Kramo::SplitText(partName, "/")) {
        if (!GSF_IS_INFILE(current.get())) {
            return nullptr;
        }
        current.reset(ChildNamed(GSF_INFILE(current.get()), name));
        if (!current) {
            return nullptr;
        }
    }
    return GSF_IS_INFILE(current.get()) && gsf_infile_num_children(GSF_INFILE(current.get())) >= 0
               ? nullptr  // a folder, not a part
               : current.release();
}

bool ZipContainer::Has(const std::string& partName) const {
    return GObjectHandle<GsfInput>(Find(partName)) != nullptr;
}

ZipEntry ZipContainer::Open(const std::string& partName) const {
    GsfInput* part = Find(partName);
    if (part == nullptr) {
        throw std::runtime_error(
            (Kramo::FormatStream(_("v zošite chýba jeho časť %s")) << partName).str());
    }
    ZipEntry entry(part, partName, fileBytes_);
    if (!entry.Failure().empty()) {
        throw std::runtime_error(entry.Failure());
    }
    return entry;
}

}  // namespace KramoExcel
