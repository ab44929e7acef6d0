#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

typedef struct _GsfInfile GsfInfile;

namespace KramoExcel {

// Read access to a compound document, the small file system inside an XLS file: open the
// document, read one named stream whole, release the document.
class StructuredStorage {
  public:
    enum Result { Success = 1, CallFailed = -1, StreamTooLarge = -6 };

    StructuredStorage();
    ~StructuredStorage();
    StructuredStorage(const StructuredStorage&) = delete;
    StructuredStorage& operator=(const StructuredStorage&) = delete;

    // Releases any document held before. False for a file that cannot be opened or is not a
    // compound document.
    bool Open(const std::string& path);
    // The whole stream, its name compared without regard to letter case. A missing stream
    // leaves the buffer empty and answers CallFailed; an empty one answers Success.
    Result ReadStream(const std::string& name, std::vector<uint8_t>& buffer) const;
    void Close();
    bool IsOpen() const { return document_ != nullptr; }

  private:
    struct Releaser {
        void operator()(GsfInfile* document) const;
    };
    std::unique_ptr<GsfInfile, Releaser> document_;
};

}  // namespace KramoExcel
