// Any settings file: the reader keeps what it could read and never fails otherwise
// than by its own parse error; what it read writes out again.
#include "support/xml_document.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gravlink::TmoxXMLParser2 document;
    document.SetSourceText(std::string(reinterpret_cast<const char*>(data), size));
    try {
        document.ParseXML();
    } catch (const gravlink::EXMLParseError&) {
        return 0; // a malformed declaration
    }
    (void)document.XMLText();
    return 0;
}
