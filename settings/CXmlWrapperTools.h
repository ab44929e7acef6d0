#pragma once

#include <string>

#include "settings/CXmlNode.h"
#include "settings/IIrrXMLReader.h"
#include "support/CConvFile.h"

namespace Kramo {

// Moves an XML tree between CXmlNode and files: reading through the pull reader, writing
// straight from the tree.
class CXmlWrapperTools {
  public:
    // Results of WriteSimpleXmlFile.
    enum WriteResult { Written = 0, FileNotOpen = 1, WriteFailed = 2 };

    // Builds the elements the reader delivers below root. Malformed input never throws: a
    // wrong end tag stops the reading with an error in the log and keeps the tree built so far.
    // True when the input was well formed as far as the tree shows: read to its end with every
    // element closed.
    static bool ReadTreeFromIrrXml(irr::io::IIrrXMLReader& reader, CXmlNode& root);

    // Writes the declaration and the tree below root, values and texts escaped.
    static WriteResult WriteSimpleXmlFile(ConvFile::CConvFile& file, const CXmlNode& root);

    // A missing or unreadable file gives an empty tree. False, with an error in the log, only
    // when no reader could be made for the file. wellFormed, when given, gets the answer of
    // ReadTreeFromIrrXml (false when no reader could be made).
    static bool ReadTreeFromDiskFile(const std::string& path, CXmlNode& root,
                                     bool* wellFormed = nullptr);
};

}  // namespace Kramo
