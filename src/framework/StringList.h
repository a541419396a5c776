#pragma once
// TStringList: ordered lines of CP1252 text.
#include <string>
#include <string_view>
#include <vector>

namespace orb::fw {

class StringList {
public:
    StringList() = default;
    StringList(std::initializer_list<std::string> lines) : lines_(lines) {}

    int Count() const { return static_cast<int>(lines_.size()); }
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    void Insert(int index, std::string line);
    void Delete(int index);
    void Clear() { lines_.clear(); }
    const std::string& operator[](int index) const;  // EListError when out of range
    std::string& operator[](int index);
    int IndexOf(std::string_view line) const;  // case-insensitive, -1 when absent

    // All lines, each ended by CR LF (the host's Text property).
    std::string Text() const;
    // Split on CR LF, LF or CR; a final line end adds no empty line.
    void SetText(std::string_view text);

    // name=value lines.
    std::string Value(std::string_view name) const;
    void SetValue(std::string_view name, std::string_view value);

    void LoadFromFile(const std::string& path);  // EInOutError (or EFOpenError text) when unreadable
    void SaveToFile(const std::string& path) const;

    const std::vector<std::string>& Lines() const { return lines_; }
    std::vector<std::string>& Lines() { return lines_; }

private:
    std::vector<std::string> lines_;
};

}  // namespace orb::fw
