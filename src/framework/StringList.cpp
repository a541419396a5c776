#include "framework/StringList.h"

#include "framework/Exceptions.h"
#include "framework/Text.h"
#include "platform/Platform.h"

namespace orb::fw {

namespace {

[[noreturn]] void IndexError(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

std::string_view NameOf(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(0, eq);
}

}  // namespace

void StringList::Insert(int index, std::string line) {
    if (index < 0 || index > Count()) IndexError(index);
    lines_.insert(lines_.begin() + index, std::move(line));
}

void StringList::Delete(int index) {
    if (index < 0 || index >= Count()) IndexError(index);
    lines_.erase(lines_.begin() + index);
}

const std::string& StringList::operator[](int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return lines_[static_cast<std::size_t>(index)];
}

std::string& StringList::operator[](int index) {
    if (index < 0 || index >= Count()) IndexError(index);
    return lines_[static_cast<std::size_t>(index)];
}

int StringList::IndexOf(std::string_view line) const {
    for (int i = 0; i < Count(); ++i) {
        if (SameText(lines_[static_cast<std::size_t>(i)], line)) return i;
    }
    return -1;
}

std::string StringList::Text() const {
    std::string out;
    for (const std::string& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

void StringList::SetText(std::string_view text) {
    lines_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines_.emplace_back(text.substr(start));
            break;
        }
        lines_.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

std::string StringList::Value(std::string_view name) const {
    for (const std::string& line : lines_) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), name)) return line.substr(eq + 1);
    }
    return {};
}

// As the host's lists do, an empty value removes the name's line.
void StringList::SetValue(std::string_view name, std::string_view value) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view lineName = NameOf(lines_[i]);
        if (lines_[i].find('=') != std::string::npos && SameText(lineName, name)) {
            if (value.empty())
                lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
            else
                lines_[i] = std::string(name) + "=" + std::string(value);
            return;
        }
    }
    if (!value.empty()) lines_.push_back(std::string(name) + "=" + std::string(value));
}

void StringList::LoadFromFile(const std::string& path) {
    std::string contents;
    if (!platform::ReadFile(path, contents)) throw EInOutError("Cannot open file \"" + path + "\"");
    SetText(contents);
}

void StringList::SaveToFile(const std::string& path) const {
    if (!platform::WriteFile(path, Text())) throw EInOutError("Cannot create file \"" + path + "\"");
}

}  // namespace orb::fw
