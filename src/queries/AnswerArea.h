#pragma once
// The answer area of a vendor call: N blanks that the library overwrites in place.
#include <algorithm>
#include <string>
#include <vector>

namespace Orb00100::queries {

class AnswerArea {
public:
    // A terminator after the blanks, and room behind it, so a library that writes a little
    // more than the width cannot run over memory of ours.
    explicit AnswerArea(int width) : width_(width), buffer_(width + kSlack, '\0') {
        std::fill_n(buffer_.begin(), width, ' ');
    }
    char* data() { return buffer_.data(); }
    // What the area holds now: at most the width, ended early by a terminator.
    std::string Text() const {
        const auto end = buffer_.begin() + width_;
        return std::string(buffer_.begin(), std::find(buffer_.begin(), end, '\0'));
    }

private:
    static constexpr int kSlack = 256;
    int width_;
    std::vector<char> buffer_;
};

// An entry point not bound answers 0, as a printer that cannot be reached does.
template <class Entry, class... Args>
int CallEntry(Entry entry, Args... args) {
    return entry ? entry(args...) : 0;
}

// The debug-log label of a query: the entry point's name and the answer's heading.
inline std::string AnswerLabel(const std::string& entry) { return entry + "\r\nRetorno da Impressora : "; }

}  // namespace Orb00100::queries
