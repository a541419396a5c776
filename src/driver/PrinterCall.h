#pragma once
// How every subsystem reaches the printer: call the maker's entry point, write its debug-log line,
// then judge the return code and the printer's status bytes. The judgement logs each problem,
// collects its text in stMensagemTaa and, when asked, shows it through the host's dialog.
//
//   return Call(scheme, {.show = true}, "Bematech_FI_AcionaGaveta", Bematech_FI_AcionaGaveta);
//
//   std::string total;
//   return Query(scheme, {.cancelOpenCoupon = true}, ORB_ENTRY(Bematech_FI_Acrescimos), 14, total);
//
// Calls whose log line is built from several answers use Invoke and Conclude:
//
//   AnswerArea first(6), last(6);
//   const int code = Invoke(Bematech_FI_InicioFimCOOsMFD, first.data(), last.data());
//   Conclude(scheme, code, AnswerLabel("Bematech_FI_RegistrosTipo60") + first.Text() + " - " + last.Text());
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace Orb00100 {

// What the status analysis does beyond judging.
struct StatusCheck {
    bool show = false;              // show each problem in a dialog (it is always logged and collected)
    bool cancelOpenCoupon = false;  // cancel a coupon the printer reports open
    bool warnLowPaper = false;      // with show: show the low-paper warning too
};

// The answer area of a vendor call: N blanks that the library overwrites in place.
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

// The debug-log heading of an answer: the entry point's name and the answer's label.
inline std::string AnswerLabel(std::string_view entry) { return std::string(entry) + "\r\nRetorno da Impressora : "; }

// The bare call. An entry point not bound answers 0, as a printer that cannot be reached does.
template <class Entry, class... Args>
int Invoke(Entry entry, Args... args) {
    return entry ? entry(args...) : 0;
}

// The verdict on a return code and the printer's status bytes (the analysis behind AnalisaRetorno).
bool CheckStatus(const std::string& scheme, int returnCode, StatusCheck check = {});
// The verdict on the status bytes alone (the analysis behind ImpressoraOK).
bool CheckPrinter(const std::string& scheme, StatusCheck check = {});

// Writes the call's debug-log line, then judges its return code.
bool Conclude(const std::string& scheme, int returnCode, std::string_view logLine, StatusCheck check = {});

// One command: the call, its log line, the verdict.
template <class Entry, class... Args>
bool Call(const std::string& scheme, StatusCheck check, std::string_view logLine, Entry entry, Args... args) {
    return Conclude(scheme, Invoke(entry, args...), logLine, check);
}

// One reading into an answer area of the given width: the call, the log line (the label, usually
// the entry point's name, the answer's heading and the answer), the verdict. answer receives what the printer wrote.
template <class Entry>
bool Query(const std::string& scheme, StatusCheck check, std::string_view label, Entry entry, int width,
           std::string& answer) {
    AnswerArea area(width);
    const int code = Invoke(entry, area.data());
    answer = area.Text();
    return Conclude(scheme, code, AnswerLabel(label) + answer, check);
}

// An entry point's name and variable, for a call whose log line names it: Query(scheme, check,
// ORB_ENTRY(Bematech_FI_Descontos), 14, answer).
#define ORB_ENTRY(entry) #entry, entry

}  // namespace Orb00100
