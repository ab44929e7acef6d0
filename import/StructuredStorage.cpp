#include "StructuredStorage.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>

#include "import/LibraryWarningsToLog.h"
#include "support/TextHelpers.h"

namespace KramoExcel {
namespace {

struct InputReleaser {
    void operator()(GsfInput* input) const { g_object_unref(input); }
};
using InputHandle = std::unique_ptr<GsfInput, InputReleaser>;

struct ErrorReleaser {
    void operator()(GError* error) const { g_error_free(error); }
};

InputHandle FindChild(GsfInfile* document, const std::string& name) {
    const int count = gsf_infile_num_children(document);
    for (int index = 0; index < count; ++index) {
        const char* childName = gsf_infile_name_by_index(document, index);
        if (childName != nullptr && Kramo::EqualIgnoringCase(childName, name)) {
            return InputHandle(gsf_infile_child_by_index(document, index));
        }
    }
    return nullptr;
}

}  // namespace

void StructuredStorage::Releaser::operator()(GsfInfile* document) const {
    g_object_unref(document);
}

StructuredStorage::StructuredStorage() = default;

StructuredStorage::~StructuredStorage() = default;

bool StructuredStorage::Open(const std::string& path) {
    Close();
    LibraryWarningsToLog warnings("Compound document");
    GError* rawError = nullptr;
    InputHandle file(gsf_input_stdio_new(path.c_str(), &rawError));
    std::unique_ptr<GError, ErrorReleaser> error(rawError);
    if (!file) {
        return false;
    }
    rawError = nullptr;
    document_.reset(gsf_infile_msole_new(file.get(), &rawError));
    error.reset(rawError);
    return document_ != nullptr;
}

StructuredStorage::Result StructuredStorage::ReadStream(const std::string& name,
                                                        std::vector<uint8_t>& buffer) const {
    buffer.clear();
    if (!document_) {
        return CallFailed;
    }
    LibraryWarningsToLog warnings("Compound document");
    const InputHandle stream = FindChild(document_.get(), name);
    if (!stream) {
        return CallFailed;
    }
    const gsf_off_t size = gsf_input_size(stream.get());
    if (size < 0) {
        return CallFailed;
    }
    if (static_cast<uint64_t>(size) >> 32 != 0) {
        return StreamTooLarge;
    }
    buffer.resize(static_cast<std::size_t>(size));
    if (size > 0 && gsf_input_read(stream.get(), buffer.size(), buffer.data()) == nullptr) {
        buffer.clear();
        return CallFailed;
    }
    return Success;
}

void StructuredStorage::Close() {
    document_.reset();
}

}  // namespace KramoExcel
