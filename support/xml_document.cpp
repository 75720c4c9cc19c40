#include "support/xml_document.h"

#include "support/stream_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace gravlink {

namespace {

// Removes leading and trailing spaces and control characters, line breaks among them.
std::string Trim(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

bool StartsAt(const std::string& source, size_t position, std::string_view prefix) {
    return position >= 1 && source.compare(position - 1, prefix.size(), prefix) == 0;
}

// Reads name='value' and name="value" pairs; a repeated name replaces the earlier value.
void ReadAttributes(TmoxXMLNode2& node, std::string_view attributeText) {
    std::string rest = Trim(attributeText);
    while (!rest.empty()) {
        const size_t equals = rest.find('=');
        if (equals == std::string::npos)
            throw EXMLParseError("missing = when parsing attributes");
        const char quote = equals + 1 < rest.size() ? rest[equals + 1] : '\0';
        if (quote != '"' && quote != '\'')
            throw EXMLParseError("missing value delimiter when parsing attributes");
        const size_t closing = rest.find(quote, equals + 2);
        if (closing == std::string::npos)
            throw EXMLParseError(std::string("Expected closing ") + quote +
                                 " when parsing attributes");
        node.SetAttribute(Trim(std::string_view(rest).substr(0, equals)),
                          rest.substr(equals + 2, closing - equals - 2));
        rest.erase(0, closing + 1);
    }
}

// Owns an open file descriptor.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : FFd(fd) {}
    ~FileDescriptor() {
        if (FFd >= 0)
            ::close(FFd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return FFd; }

private:
    int FFd;
};

bool IsFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    // An unreadable path is tried all the same, so that its open failure is reported.
    return status.type() != std::filesystem::file_type::not_found &&
           status.type() != std::filesystem::file_type::directory;
}

std::string ReadWholeFile(const std::string& path) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        throw EFOpenError(path, errno);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        throw EReadError();
    std::string content(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t count = ::read(file.Get(), content.data() + done, content.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            throw EReadError();
        done += static_cast<size_t>(count);
    }
    return content;
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
            Append(node.Text());
            Append(node.IsCData() ? "]]></" : "</");
            Append(node.Name());
            Append(">");
        }
        return;
    }

    Append(node.IsCData() ? "><![CDATA[" : ">");
    Append(node.Text());
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
    FPosition = 1;
    FReadToEnd = true;

    if (!ReadProlog())
        return;
    try {
        ReadElements();
        FReadToEnd = FPosition > FSource.size() ||
                     Trim(std::string_view(FSource).substr(FPosition - 1)).empty();
    } catch (const Exception& failure) {
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
        const size_t contentStart = next + CDataStart.size();
        const size_t end = Find("]]>", contentStart);
        if (end == 0)
            throw EXMLParseError("Expected ]]> when parsing CDATA section");
        node.SetText(Trim(SourceBetween(contentStart, end - 1)));
        FPosition = end + 3;
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
    const std::string text = XMLText();
    const FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.Get() < 0)
        throw EFCreateError(path, errno);
    if (::write(file.Get(), text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        throw EWriteError();
}

} // namespace gravlink
