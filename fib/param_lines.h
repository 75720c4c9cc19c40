#pragma once

#include <functional>
#include <string>
#include <vector>

namespace gravlink {

// The parameter lines of a connection (DBParams) or a transaction (TRParams): one
// "name=value" per line. The owner guards every change (a connection refuses changes
// while open, a transaction while active) and learns through Changed() that its
// parameter block must be built again.
class TParamLines {
public:
    // guard runs before every change and may throw to refuse it.
    explicit TParamLines(std::function<void()> guard = {}) : FGuard(std::move(guard)) {}

    size_t Count() const { return FLines.size(); }
    const std::string& operator[](size_t index) const { return FLines.at(index); }
    const std::vector<std::string>& Lines() const { return FLines; }
    // The lines, each followed by CR LF.
    std::string Text() const;

    void Add(std::string line);
    void SetLine(size_t index, std::string line);
    void Clear();
    void Assign(std::vector<std::string> lines);

    // True after creation and after every change, until the block is built again.
    bool Changed() const { return FChanged; }
    void MarkBuilt() { FChanged = false; }

private:
    void BeforeChange();

    std::function<void()> FGuard;
    std::vector<std::string> FLines;
    bool FChanged = true;
};

// The line with characters of code 32 or below cut from both ends.
std::string TrimParamLine(const std::string& line);

// A parameter line split at its first "=": the name with its ASCII capitals lowered
// and the prefix (for example "isc_dpb_") removed, and the value.
struct TParamItem {
    std::string Name;
    std::string Value;
};
TParamItem SplitParamLine(const std::string& line, const std::string& prefix);

} // namespace gravlink
