#pragma once
// The host's shared library as the module sees it: parameter intake, text helpers, the
// message dialog, the cipher and the records the module hands back. The host installs hooks
// for what only it can do; the defaults record every call so tests and the command-line host
// can read them back.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ClientDataSet.h"
#include "framework/DateTime.h"
#include "framework/Variant.h"

namespace orb::hostlib {

using fw::TDateTime;
using fw::Variant;

// ---- Parameter intake --------------------------------------------------------------------
// The value paired with name in a named-parameter array ([[name, value], ...]); names compare
// without regard to case. A name that is absent answers an unassigned Variant.
Variant RecebeParams(const Variant& params, std::string_view name);
// A named-parameter array built from pairs, in order.
Variant MakeParams(const std::vector<std::pair<std::string, Variant>>& pairs);

// ---- Message dialog ----------------------------------------------------------------------
struct Dialog {
    std::string text;         // CP1252
    std::string caption;      // the second argument (always empty from the module)
    std::string third;        // "N"
    std::string question;     // "S" for a yes/no question, "N" for a plain message
    int kind = 0;             // 0 notice, 1 confirmation, 2 monthly-file notice, 3 blocking error
    std::string sixth;        // empty
    std::string scheme;       // the host's colour scheme
    int number = 0;           // 0
    bool answer = false;      // what the dialog answered (true: yes)
    bool answered = true;     // false when no answer was queued and the default "no" was taken
};

bool Mensagem(std::string_view text, std::string_view caption, std::string_view third,
              std::string_view question, int kind, std::string_view sixth, std::string_view scheme,
              int number, fw::ClientDataSet* dataset);

// ---- Catalogs ----------------------------------------------------------------------------
// key|text lines; lookup without regard to case; the first of two equal keys wins; a missing
// key answers the key itself.
class TMessages {
public:
    TMessages() = default;
    void Add(std::string_view key, std::string_view text);
    void LoadLines(const std::vector<std::string>& lines);  // "key|text"
    std::string Msg(std::string_view key) const;
    bool Has(std::string_view key) const;
    int Count() const { return static_cast<int>(entries_.size()); }
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }
private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// ---- Text helpers ------------------------------------------------------------------------
std::string Replicate(std::string_view text, int n);
std::string TamFixo(std::string_view text, int n);    // left-aligned, blank-filled, cut to n
std::string TamFixoR(std::string_view text, int n);   // right-aligned, blank-filled, cut to n
std::string PadL(std::string_view text, int n);       // blanks on the left up to n (never cuts)
std::string PadR(std::string_view text, int n);       // blanks on the right up to n (never cuts)
std::string Centraliza(std::string_view text, int width);
std::string AjustaZero(std::string_view text, int n); // right-aligned in n digits, leading zeros
// Right-aligned in n columns with leading zeros; a longer text is cut to its first n characters.
std::string Ajusta(std::string_view text, int n);
bool EmptyString(std::string_view text);
std::string RTrim(std::string_view text);
double Trunc2(double value);
double Trunc3(double value);
double RoundDec(double value, int places);
Variant iif(bool condition, const Variant& a, const Variant& b);
// The time from a to b as "[-]hh:nn:ss" (hours may exceed 24); "-" when b is before a.
std::string SubtDataHoraZep(TDateTime a, TDateTime b);

// ---- Cipher ------------------------------------------------------------------------------
// Deterministic, reversible and authenticated (AES-SIV), written as upper-case hexadecimal.
// Uncripto of a text that was not enciphered with the same selector, or was changed, raises
// fw::EConvertError.
std::string Cripto(std::string_view text, int selector);
std::string Uncripto(std::string_view cipher, int selector);

// ---- Records handed to the host ----------------------------------------------------------
struct NonFiscalDocRecord {
    std::string f1, f2, f3, f4, f5, f6, f7;  // seven texts in the order the module passes them
    TDateTime dt1, dt2;
    std::string f10;
};
bool setDocNaoFiscaisECF(std::string_view f1, std::string_view f2, std::string_view f3,
                         std::string_view f4, std::string_view f5, std::string_view f6,
                         std::string_view f7, TDateTime dt1, TDateTime dt2, std::string_view f10);

struct CerRecord {
    std::string a, b;
    TDateTime when;
};
void GravaCER(std::string_view a, std::string_view b, TDateTime when);

// The application's message loop and its termination.
void ProcessMessages();
void TerminateApplication();

// ---- Hooks -------------------------------------------------------------------------------
struct Hooks {
    std::function<bool(Dialog&)> dialog;                        // fills answer; returns it
    std::function<void(const NonFiscalDocRecord&)> ledger;
    std::function<void(const CerRecord&)> cer;
    std::function<void()> processMessages;
    std::function<void()> terminate;
};
// Installs hooks; an empty member keeps the default. The defaults answer each question from the
// queue of answers (an empty queue answers "no", marked unanswered) and record everything.
void InstallHooks(Hooks hooks);
void ResetHooks();

// What the defaults (and every installed hook) saw, for tests and the bridge.
struct Recorder {
    std::vector<Dialog> dialogs;
    std::vector<NonFiscalDocRecord> ledger;
    std::vector<CerRecord> cer;
    int processMessagesCalls = 0;
    int terminateRequests = 0;
    std::vector<bool> queuedAnswers;  // consumed front first by yes/no questions
};
Recorder& Recorded();
void ClearRecorded();  // keeps queued answers
void QueueAnswers(const std::vector<bool>& answers);

}  // namespace orb::hostlib
