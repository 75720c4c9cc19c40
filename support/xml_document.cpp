#include "support/xml_document.h"

#include "support/file_replace.h"
#include "support/stream_error.h"
#include "support/whole_file.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace gravlink {

namespace {

// Without leading and trailing spaces and control characters, line breaks among them.
std::string_view TrimmedView(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string Trim(std::string_view text) {
    return std::string(TrimmedView(text));
}

bool StartsAt(const std::string& source, size_t position, std::string_view prefix) {
    return position >= 1 && source.compare(position - 1, prefix.size(), prefix) == 0;
}

} // namespace

// ---- Node ----

void TmoxXMLNode2::SetText(std::string text) {
    FIsCData = text.find_first_of("<>") != std::string::npos;
    FText = std::move(text);
}

TmoxXMLNode2& TmoxXMLNode2::AddNode(std::unique_ptr<TmoxXMLNode2> child) {
    child->FParent = this;
    return FNodes.Add(std::move(child));
}

TmoxXMLNode2* TmoxXMLNode2::FindChildByName(const std::string& name, bool deep) const {
    for (const auto& child : FNodes) {
        if (child->FName == name)
            return child.get();
        if (deep)
            if (TmoxXMLNode2* found = child->FindChildByName(name, true))
                return found;
    }
    return nullptr;
}

TmoxXMLNode2& TmoxXMLNode2::GetChildByName(const std::string& name) {
    if (TmoxXMLNode2* found = FindChildByName(name, false))
        return *found;
    auto child = std::make_unique<TmoxXMLNode2>();
    child->SetName(name);
    return AddNode(std::move(child));
}

std::string TmoxXMLNode2::Attribute(const std::string& name) const {
    for (const auto& attribute : FAttributes)
        if (attribute->Name == name)
            return attribute->Value;
    return {};
}

void TmoxXMLNode2::SetAttribute(const std::string& name, std::string value) {
    for (const auto& attribute : FAttributes)
        if (attribute->Name == name) {
            attribute->Value = std::move(value);
            return;
        }
    FAttributes.Add(std::make_unique<TmoxXMLAttribute2>(TmoxXMLAttribute2{name, std::move(value)}));
}

// ---- Document: writing ----

TmoxXMLParser2::TmoxXMLParser2() = default;

void TmoxXMLParser2::Append(std::string_view piece) {
    if (piece.empty())
        return;
    if (FOutputUsed + piece.size() > FOutput.size())
        FOutput.resize(FOutput.size() + std::max(GrowthStep, piece.size()));
    std::memcpy(FOutput.data() + FOutputUsed, piece.data(), piece.size());
    FOutputUsed += piece.size();
}

std::string TmoxXMLParser2::XMLText() {
    FOutput.assign(GrowthStep, '\0');
    FOutputUsed = 0;
    FLevel = 0;

    const std::string version = FDeclaration.Attribute("version");
    const std::string encoding = FDeclaration.Attribute("encoding");
    Append("<?xml version='");
    Append(version.empty() ? "1.0" : version);
    Append("' encoding='");
    Append(encoding.empty() ? "ISO-8859-1" : encoding);
    Append("' ?>\r\n");
    WriteElement(*this);

    std::string text = FOutput.substr(0, FOutputUsed);
    FOutput.clear();
    FOutput.shrink_to_fit();
    FOutputUsed = 0;
    return text;
}

void TmoxXMLParser2::AppendText(const TmoxXMLNode2& node) {
    if (!node.IsCData())
        return Append(node.Text());
    // A "]]>" inside would end the section: its ">" goes into a section of its own,
    // and the reader joins sections that follow each other.
    std::string_view rest = node.Text();
    for (size_t end = rest.find("]]>"); end != std::string_view::npos; end = rest.find("]]>")) {
        Append(rest.substr(0, end + 2));
        Append("]]><![CDATA[");
        rest.remove_prefix(end + 2);
    }
    Append(rest);
}

void TmoxXMLParser2::WriteElement(const TmoxXMLNode2& node) {
    const std::string indentation(2 * static_cast<size_t>(FLevel), ' ');
    Append(indentation);
    Append("<");
    Append(node.Name());

    if (node.Attributes().Count() > 0) {
        std::string attributes;
        for (const auto& attribute : node.Attributes()) {
            // Nothing is escaped: a value holding an apostrophe goes between double quotes.
            const char quote = attribute->Value.find('\'') == std::string::npos ? '\'' : '"';
            attributes += ' ' + attribute->Name + '=' + quote + attribute->Value + quote;
        }
        Append(attributes);
    }

    if (node.Nodes().Count() == 0) {
        if (node.Text().empty()) {
            Append("/>");
        } else {
            Append(node.IsCData() ? "><![CDATA[" : ">");
            AppendText(node);
            Append(node.IsCData() ? "]]></" : "</");
            Append(node.Name());
            Append(">");
        }
        return;
    }

    Append(node.IsCData() ? "><![CDATA[" : ">");
    AppendText(node);
    if (node.IsCData())
        Append("]]>");
    ++FLevel;
    for (const auto& child : node.Nodes()) {
        Append("\r\n");
        WriteElement(*child);
    }
    Append("\r\n");
    Append(indentation);
    Append("</");
    Append(node.Name());
    Append(">");
    --FLevel;
}

// ---- Document: reading ----

void TmoxXMLParser2::ReadAttributes(TmoxXMLNode2& node, std::string_view attributeText) {
    // Read in one pass, with the names looked up by hash: an element may carry very many.
    auto& attributes = node.MutableAttributes();
    std::unordered_map<std::string_view, TmoxXMLAttribute2*> byName;
    for (const auto& attribute : attributes)
        byName.emplace(attribute->Name, attribute.get());
    std::string_view rest = TrimmedView(attributeText);
    while (!rest.empty()) {
        const size_t equals = rest.find('=');
        if (equals == std::string_view::npos)
            throw EXMLParseError("missing = when parsing attributes");
        const char quote = equals + 1 < rest.size() ? rest[equals + 1] : '\0';
        if (quote != '"' && quote != '\'')
            throw EXMLParseError("missing value delimiter when parsing attributes");
        const size_t closing = rest.find(quote, equals + 2);
        if (closing == std::string_view::npos)
            throw EXMLParseError(std::string("Expected closing ") + quote +
                                 " when parsing attributes");
        std::string name = Trim(rest.substr(0, equals));
        std::string value(rest.substr(equals + 2, closing - equals - 2));
        // A repeated name replaces the earlier value in its place.
        if (const auto known = byName.find(name); known != byName.end()) {
            known->second->Value = std::move(value);
        } else {
            TmoxXMLAttribute2& added = attributes.Add(std::make_unique<TmoxXMLAttribute2>(
                TmoxXMLAttribute2{std::move(name), std::move(value)}));
            byName.emplace(added.Name, &added);
        }
        rest.remove_prefix(closing + 1);
    }
}

size_t TmoxXMLParser2::Find(std::string_view pattern, size_t from) const {
    if (from < 1)
        from = 1;
    const size_t found = FSource.find(pattern, from - 1);
    return found == std::string::npos ? 0 : found + 1;
}

std::string TmoxXMLParser2::SourceBetween(size_t first, size_t last) const {
    if (first < 1 || last < first || first > FSource.size())
        return {};
    return FSource.substr(first - 1, last - first + 1);
}

void TmoxXMLParser2::ParseXML() {
    MutableAttributes().Clear();
    MutableNodes().Clear();
    SetName({});
    SetText({});
    FLastError.clear();
    FStopPosition = 0;
    FStopReason.clear();
    FPosition = 1;
    FReadToEnd = true;

    if (!ReadProlog()) {
        FStopPosition = FPosition;
        FStopReason = FLastError;
        return;
    }
    try {
        ReadElements();
        if (const size_t unread = TextAfterDocument(); unread != 0) {
            FReadToEnd = false;
            FStopPosition = unread;
            FStopReason = "Text after the document element";
        }
    } catch (const Exception& failure) {
        // A search that found nothing has set the position to 0: it ran to the end.
        FStopPosition = FPosition != 0 ? FPosition : FSource.size() + 1;
        FStopReason = failure.Message();
        const size_t nearFrom = FPosition > 20 ? FPosition - 20 : 1;
        std::string message = failure.Message() + " near " + SourceBetween(nearFrom, nearFrom + 49);
        message += "\r\nError position=" + std::to_string(FPosition) + "\r\n";
        FLastError = message + XMLText();
    }
}

bool TmoxXMLParser2::ReadProlog() {
    for (;;) {
        const size_t start = Find("<", FPosition);
        if (start == 0) // the element loop reports it with its position
            return true;
        if (StartsAt(FSource, start, "<?xml")) {
            const size_t end = Find("?>", start);
            if (end == 0) {
                FLastError = "Missing ?> in xml declaration.";
                return false;
            }
            // Not caught: a malformed declaration reaches the caller.
            ReadAttributes(FDeclaration, Trim(SourceBetween(start + 6, end - 1)));
            FPosition = end + 2;
        } else if (StartsAt(FSource, start, "<!--")) {
            const size_t end = Find("-->", start);
            if (end == 0) {
                FLastError = "Missing --> in xml comment.";
                return false;
            }
            FPosition = end + 3;
        } else if (StartsAt(FSource, start, "<!DOCTYPE")) {
            const size_t end = Find(">", start);
            if (end == 0) {
                FLastError = "Missing > in document type declaration.";
                return false;
            }
            FPosition = end + 1;
        } else {
            return true;
        }
    }
}

size_t TmoxXMLParser2::TextAfterDocument() const {
    // Blanks, comments and processing instructions may follow the document element;
    // anything else was cut off from it (a stray closing tag ended it early, say).
    for (size_t position = FPosition; position <= FSource.size();) {
        const auto c = static_cast<unsigned char>(FSource[position - 1]);
        size_t end = 0;
        if (c <= ' ') {
            ++position;
            continue;
        }
        if (StartsAt(FSource, position, "<!--"))
            end = Find("-->", position) + 2;
        else if (StartsAt(FSource, position, "<?"))
            end = Find("?>", position) + 1;
        if (end <= position)
            return position;
        position = end + 1;
    }
    return 0;
}

std::string TmoxXMLParser2::ReadTag() {
    FPosition = Find("<", FPosition);
    if (FPosition == 0)
        throw EXMLParseError("< not found");
    const size_t end = Find(">", FPosition);
    if (end == 0)
        throw EXMLParseError("> not found");
    std::string tag = SourceBetween(FPosition + 1, end - 1);
    FPosition = end + 1;
    return tag;
}

void TmoxXMLParser2::ReadElements() {
    // The writer and the destructors recurse once per level, and each level indents every
    // line below it, so a damaged file must not nest without bound.
    static constexpr size_t MaxDepth = 1000;
    size_t depth = 0; // elements open
    TmoxXMLNode2* current = nullptr;
    do {
        std::string tag = ReadTag();
        if (tag.empty())
            throw EXMLParseError("Empty tag <>");
        if (tag.front() == '/') {
            // The name is not compared: any closing tag closes the open element.
            if (current == nullptr)
                throw EXMLParseError("Closing tag <" + tag + "> without an open element");
            current = current->Parent();
            --depth;
            continue;
        }
        if (depth == MaxDepth)
            throw EXMLParseError("Elements nested deeper than " + std::to_string(MaxDepth) +
                                 " levels");
        const bool emptyElement = tag.back() == '/';
        if (emptyElement) {
            tag.pop_back();
            tag = Trim(tag);
        }
        const size_t space = tag.find(' ');
        const std::string name = tag.substr(0, space);
        const std::string attributeText = space == std::string::npos
                                              ? std::string()
                                              : Trim(std::string_view(tag).substr(space + 1));

        std::unique_ptr<TmoxXMLNode2> created;
        TmoxXMLNode2* node = this; // the first element is the document itself
        if (current != nullptr) {
            created = std::make_unique<TmoxXMLNode2>();
            node = created.get();
        }
        node->SetParent(current);
        node->SetName(name);
        ReadAttributes(*node, attributeText);
        if (current != nullptr)
            current->AddNode(std::move(created));

        if (!emptyElement) {
            ReadText(*node);
            current = node;
            ++depth;
        }
    } while (current != nullptr);
}

void TmoxXMLParser2::ReadText(TmoxXMLNode2& node) {
    const size_t next = Find("<", FPosition);
    if (next == 0)
        throw EXMLParseError("Expected < when parsing text");
    static constexpr std::string_view CDataStart = "<![CDATA[";
    if (StartsAt(FSource, next, CDataStart)) {
        std::string content;
        size_t sectionStart = next;
        do {
            const size_t contentStart = sectionStart + CDataStart.size();
            const size_t end = Find("]]>", contentStart);
            if (end == 0)
                throw EXMLParseError("Expected ]]> when parsing CDATA section");
            content += SourceBetween(contentStart, end - 1);
            FPosition = end + 3;
            sectionStart = FPosition;
        } while (StartsAt(FSource, sectionStart, CDataStart));
        node.SetText(Trim(content));
    } else {
        node.SetText(Trim(SourceBetween(FPosition, next - 1)));
        FPosition = next;
    }
}

// ---- Document: files ----

void TmoxXMLParser2::LoadXML(const std::string& path) {
    if (!IsFile(path))
        return;
    FSource = ReadWholeFile(path);
    ParseXML();
}

void TmoxXMLParser2::SaveXML(const std::string& path) {
    // Never a file cut short: a failed write leaves the old one whole.
    ReplaceFileContent(path, XMLText());
}

} // namespace gravlink
