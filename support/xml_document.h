#pragma once

#include "support/exception.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace gravlink {

class TmoxXMLNode2;

// A malformed document. Inside the element tree ParseXML catches it and keeps
// it in LastError; from the XML declaration it reaches the caller of LoadXML.
class EXMLParseError : public Exception {
public:
    using Exception::Exception;
};

// An attribute of an element or of the XML declaration.
class TmoxXMLAttribute2 {
public:
    std::string Name;
    std::string Value;
};

// An ordered list that owns its items.
template <class T> class TmoxXMLNodeList2 {
public:
    size_t Count() const { return FItems.size(); }
    T& operator[](size_t index) const { return *FItems[index]; }
    T& Add(std::unique_ptr<T> item) { return *FItems.emplace_back(std::move(item)); }
    void Clear() { FItems.clear(); }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::vector<std::unique_ptr<T>> FItems;
};

// One element: a name, one text, attributes and child elements.
class TmoxXMLNode2 {
public:
    TmoxXMLNode2() = default;
    virtual ~TmoxXMLNode2() = default;
    TmoxXMLNode2(const TmoxXMLNode2&) = delete;
    TmoxXMLNode2& operator=(const TmoxXMLNode2&) = delete;

    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }
    const std::string& Text() const { return FText; }
    // Also decides how the text is written: as CDATA exactly when it holds "<" or ">".
    void SetText(std::string text);
    bool IsCData() const { return FIsCData; }

    TmoxXMLNode2* Parent() const { return FParent; }
    const TmoxXMLNodeList2<TmoxXMLNode2>& Nodes() const { return FNodes; }
    const TmoxXMLNodeList2<TmoxXMLAttribute2>& Attributes() const { return FAttributes; }

    // Appends child at the end of Nodes and takes ownership of it.
    TmoxXMLNode2& AddNode(std::unique_ptr<TmoxXMLNode2> child);
    // The first child named name; deep searches depth first in document order.
    TmoxXMLNode2* FindChildByName(const std::string& name, bool deep) const;
    // The first direct child named name, appended empty when there is none.
    TmoxXMLNode2& GetChildByName(const std::string& name);

    std::string Attribute(const std::string& name) const;
    void SetAttribute(const std::string& name, std::string value);

protected:
    TmoxXMLNodeList2<TmoxXMLNode2>& MutableNodes() { return FNodes; }
    TmoxXMLNodeList2<TmoxXMLAttribute2>& MutableAttributes() { return FAttributes; }
    void SetParent(TmoxXMLNode2* parent) { FParent = parent; }

private:
    std::string FName;
    std::string FText;
    bool FIsCData = false;
    TmoxXMLNode2* FParent = nullptr;
    TmoxXMLNodeList2<TmoxXMLNode2> FNodes;
    TmoxXMLNodeList2<TmoxXMLAttribute2> FAttributes;

    friend class TmoxXMLParser2;
};

// The document; it is itself the document element.
class TmoxXMLParser2 : public TmoxXMLNode2 {
public:
    TmoxXMLParser2();

    TmoxXMLNode2& Declaration() { return FDeclaration; }
    const TmoxXMLNode2& Declaration() const { return FDeclaration; }
    // What the last parse failed with; empty after a parse that succeeded.
    const std::string& LastError() const { return FLastError; }
    // Where the last parse stopped, when it failed or left text unread: the 1-based
    // byte position of the read (one past the end when it ran off the end of the
    // text), and why.
    size_t StopPosition() const { return FStopPosition; }
    const std::string& StopReason() const { return FStopReason; }
    // False when the last parse closed the document element before the end of the
    // source and more than blanks followed it: that text was never read.
    bool ReadToEnd() const { return FReadToEnd; }

    // The document serialised with its fixed byte layout.
    std::string XMLText();
    // Rebuilds the document from the source text.
    void ParseXML();
    // Reads the file and parses it; does nothing when no file of that name exists.
    void LoadXML(const std::string& path);
    // Writes XMLText to the file, replacing it.
    void SaveXML(const std::string& path);

    // The source text that ParseXML reads.
    void SetSourceText(std::string text) { FSource = std::move(text); }

private:
    // Writer: appends to the output buffer, which grows by at least GrowthStep.
    void Append(std::string_view piece);
    void WriteElement(const TmoxXMLNode2& node);
    // The node's text as it stands between its tags.
    void AppendText(const TmoxXMLNode2& node);
    // Reader: forward searches in FSource from the 1-based read position.
    size_t Find(std::string_view pattern, size_t from) const;
    std::string SourceBetween(size_t first, size_t last) const;
    bool ReadProlog(); // false when the prolog itself ended the parse
    // Where text follows the document element that is no blank, comment or processing
    // instruction (1-based); 0 when there is none.
    size_t TextAfterDocument() const;
    void ReadElements();
    std::string ReadTag();
    // name='value' and name="value" pairs into the node's attributes.
    static void ReadAttributes(TmoxXMLNode2& node, std::string_view attributeText);
    void ReadText(TmoxXMLNode2& node);

    TmoxXMLNode2 FDeclaration;
    std::string FLastError;
    size_t FStopPosition = 0;
    std::string FStopReason;
    std::string FSource;
    size_t FPosition = 1; // 1-based read position in FSource
    bool FReadToEnd = true;
    // The writer's output buffer.
    std::string FOutput;
    size_t FOutputUsed = 0;
    int FLevel = 0;
    static constexpr size_t GrowthStep = 65536;
};

} // namespace gravlink
