// Message catalogs: key -> text, looked up without regard to case.
#include "external/hostlib/HostLib.h"

#include "framework/Text.h"

namespace orb::hostlib {

void TMessages::Add(std::string_view key, std::string_view text) {
    entries_.emplace_back(std::string(key), std::string(text));
    // emplace keeps an existing key: the first of two equal keys is the one that answers.
    index_.emplace(fw::UpperCase(key), entries_.size() - 1);
}

void TMessages::LoadLines(const std::vector<std::string>& lines) {
    for (std::string_view line : lines) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto bar = line.find('|');
        if (bar == std::string_view::npos) continue;
        Add(line.substr(0, bar), line.substr(bar + 1));
    }
}

std::string TMessages::Msg(std::string_view key) const {
    auto it = index_.find(fw::UpperCase(key));
    return it == index_.end() ? std::string(key) : entries_[it->second].second;
}

bool TMessages::Has(std::string_view key) const { return index_.count(fw::UpperCase(key)) != 0; }

void TMessages::Clear() {
    entries_.clear();
    index_.clear();
}

}  // namespace orb::hostlib
