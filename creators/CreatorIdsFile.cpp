#include "creators/CreatorIdsFile.h"

#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Far beyond any catalogue; a larger file is not ours to read.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

bool SameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool IsSectionHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The key of a "key=value" line; false for comments and bare lines.
bool SplitKeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    if (line.empty() || line.front() == ';')
        return false;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    key = Trim(line.substr(0, equals));
    value = Trim(line.substr(equals + 1));
    return true;
}

} // namespace

void CreatorIdsFile::Parse(std::string_view content) {
    FLeadingLines.clear();
    FSections.clear();
    FFirstSection.clear();
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = content.size();
        const std::string_view line = Trim(content.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        if (IsSectionHeader(line)) {
            std::string name(Trim(line.substr(1, line.size() - 2)));
            FFirstSection.try_emplace(name, FSections.size());
            FSections.push_back({std::move(name), {}});
        } else if (FSections.empty()) {
            FLeadingLines.emplace_back(line);
        } else {
            FSections.back().Lines.emplace_back(line);
        }
    }
}

std::string CreatorIdsFile::ToBytes() const {
    std::string out;
    for (const std::string& line : FLeadingLines)
        out.append(line).append("\r\n");
    if (!FLeadingLines.empty())
        out.append("\r\n");
    for (const Section& section : FSections) {
        out.append("[").append(section.Name).append("]\r\n");
        for (const std::string& line : section.Lines)
            out.append(line).append("\r\n");
        out.append("\r\n");
    }
    return out;
}

bool CreatorIdsFile::Read(const QString& path, QString& cause) {
    Parse({});
    // Not QFile: a FIFO of that name would hold the start-up in open().
    QByteArray content;
    switch (ReadRegularFile(path, MaxFileSize, &content, &cause)) {
    case FileReadOutcome::Missing:
        return true;
    case FileReadOutcome::Failed:
        return false;
    case FileReadOutcome::Read:
        break;
    }
    Parse(std::string_view(content.constData(), static_cast<size_t>(content.size())));
    return true;
}

std::vector<std::string> CreatorIdsFile::SectionNames() const {
    std::vector<std::string> names;
    names.reserve(FSections.size());
    for (const Section& section : FSections)
        names.push_back(section.Name);
    return names;
}

const CreatorIdsFile::Section* CreatorIdsFile::FindSection(const std::string& name) const {
    const auto found = FFirstSection.find(name);
    return found == FFirstSection.end() ? nullptr : &FSections[found->second];
}

std::string CreatorIdsFile::Value(const std::string& section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s)
        return {};
    for (const std::string& line : s->Lines) {
        std::string_view lineKey, value;
        if (SplitKeyLine(line, lineKey, value) && SameKey(lineKey, key))
            return std::string(value);
    }
    return {};
}

bool CreatorIdsFile::SetValue(const std::string& section, std::string_view key,
                              std::string_view value) {
    if (!IsWritableSectionName(section))
        return false;
    // The line is stored as it will read back: no blanks at its end.
    std::string line(key);
    line += '=';
    for (char c : Trim(value))
        line += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;

    auto found = FFirstSection.find(section);
    if (found == FFirstSection.end()) {
        found = FFirstSection.emplace(section, FSections.size()).first;
        FSections.push_back({section, {}});
    }
    std::vector<std::string>& lines = FSections[found->second].Lines;
    for (std::string& existing : lines) {
        std::string_view lineKey, oldValue;
        if (SplitKeyLine(existing, lineKey, oldValue) && SameKey(lineKey, key)) {
            existing = std::move(line);
            return true;
        }
    }
    lines.push_back(std::move(line));
    return true;
}

bool CreatorIdsFile::IsWritableSectionName(std::string_view name) {
    return !name.empty() && name.find_first_of(std::string_view("\r\n\0", 3)) == name.npos &&
           !IsBlankOrControl(name.front()) && !IsBlankOrControl(name.back());
}
