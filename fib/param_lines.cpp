#include "fib/param_lines.h"

#include <stdexcept>

namespace gravlink {

std::string TParamLines::Text() const {
    std::string text;
    for (const std::string& line : FLines)
        text += line + "\r\n";
    return text;
}

void TParamLines::BeforeChange() {
    if (FGuard)
        FGuard();
    FChanged = true;
}

void TParamLines::Add(std::string line) {
    BeforeChange();
    FLines.push_back(std::move(line));
}

void TParamLines::SetLine(size_t index, std::string line) {
    if (index >= FLines.size())
        throw std::out_of_range("parameter line index out of range");
    BeforeChange();
    FLines[index] = std::move(line);
}

void TParamLines::Clear() {
    BeforeChange();
    FLines.clear();
}

void TParamLines::Assign(std::vector<std::string> lines) {
    BeforeChange();
    FLines = std::move(lines);
}

std::string TrimParamLine(const std::string& line) {
    size_t first = 0;
    size_t last = line.size();
    while (first < last && static_cast<unsigned char>(line[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(line[last - 1]) <= ' ')
        --last;
    return line.substr(first, last - first);
}

TParamItem SplitParamLine(const std::string& line, const std::string& prefix) {
    TParamItem item;
    const size_t equals = line.find('=');
    item.Name = line.substr(0, equals);
    if (equals != std::string::npos)
        item.Value = line.substr(equals + 1);
    for (char& c : item.Name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (item.Name.compare(0, prefix.size(), prefix) == 0)
        item.Name.erase(0, prefix.size());
    return item;
}

} // namespace gravlink
