// Settings written and read back: every element's text reads back as it was set
// (trimmed of blanks, as the reader trims), however the text looks.
#include "support/xml_document.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using gravlink::TmoxXMLNode2;
using gravlink::TmoxXMLParser2;

std::string Trimmed(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    return text.substr(first, last - first);
}

// The input as a tree: each record is one control byte and a text up to the next
// 0xFF byte. The control byte places the element against the one before.
void Build(TmoxXMLParser2& document, const std::string& input) {
    document.SetName("root");
    std::vector<TmoxXMLNode2*> open = {&document};
    size_t at = 0;
    int serial = 0;
    while (at < input.size() && serial < 64) {
        const auto control = static_cast<unsigned char>(input[at++]);
        size_t end = input.find('\xFF', at);
        if (end == std::string::npos)
            end = input.size();
        const std::string text = input.substr(at, end - at);
        at = end + 1;
        // 0: a child of the last element, 1: its sibling, 2: a sibling of its parent.
        for (size_t up = control % 3; up > 0 && open.size() > 1; --up)
            open.pop_back();
        auto node = std::make_unique<TmoxXMLNode2>();
        node->SetName("N" + std::to_string(serial++));
        node->SetText(text);
        open.push_back(&open.back()->AddNode(std::move(node)));
    }
}

void Compare(const TmoxXMLNode2& written, const TmoxXMLNode2& read) {
    if (written.Name() != read.Name() || Trimmed(written.Text()) != read.Text() ||
        written.Nodes().Count() != read.Nodes().Count())
        std::abort();
    for (size_t i = 0; i < written.Nodes().Count(); ++i)
        Compare(written.Nodes()[i], read.Nodes()[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TmoxXMLParser2 written;
    Build(written, std::string(reinterpret_cast<const char*>(data), size));
    TmoxXMLParser2 read;
    read.SetSourceText(written.XMLText());
    read.ParseXML();
    if (!read.LastError().empty())
        std::abort();
    Compare(written, read);
    return 0;
}
