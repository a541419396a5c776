#pragma once
// The host's shared library as the module sees it: parameter intake, text helpers, the
// message dialog, the cipher and the records the module hands back. The host installs hooks
// for what only it can do; the defaults record every call so tests and the command-line host
// can read them back.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/ClientDataSet.h"
#include "framework/DateTime.h"
#include "framework/Variant.h"

namespace orb::hostlib {

using fw::TDateTime;
using fw::Variant;

// ---- Parameter intake --------------------------------------------------------------------
// The value paired with name in a named-parameter array ([[name, value], ...]); names compare
// without regard to case and the first pair of that name wins. A name that is absent, and any
// params that is not such an array, answers an unassigned Variant; malformed pairs are skipped.
// Every name asked for is recorded (Recorded().paramNames).
Variant RecebeParams(const Variant& params, std::string_view name);
// A named-parameter array built from pairs, in order.
Variant MakeParams(const std::vector<std::pair<std::string, Variant>>& pairs);

// ---- Message dialog ----------------------------------------------------------------------
struct Dialog {
    std::string text;      // CP1252
    std::string caption;   // the second argument (always empty from the module)
    std::string third;     // "N"
    std::string question;  // "S" for a yes/no question, "N" for a plain message
    int kind = 0;          // 0 notice, 1 confirmation, 2 monthly-file notice, 3 blocking error
    std::string sixth;     // empty
    std::string scheme;    // the host's colour scheme
    int number = 0;        // 0
    bool answer = false;   // what the dialog answered (true: yes)
    bool answered = true;  // false when no answer was queued and the default "no" was taken
};

// Shows text through the dialog hook and records it. A plain message answers true; a question
// answers what the hook (by default: the next queued answer, else "no") gave. The dataset is
// the host's and is not used.
bool Mensagem(std::string_view text, std::string_view caption, std::string_view third, std::string_view question,
              int kind, std::string_view sixth, std::string_view scheme, int number, fw::ClientDataSet* dataset);

// ---- Catalogs ----------------------------------------------------------------------------
// key|text lines; lookup without regard to case; the first of two equal keys wins; a missing
// key answers the key itself.
class TMessages {
public:
    TMessages() = default;
    void Add(std::string_view key, std::string_view text);
    // "key|text" lines, split at the first '|'; a trailing CR is dropped; blank lines and lines
    // without '|' are skipped.
    void LoadLines(const std::vector<std::string>& lines);
    std::string Msg(std::string_view key) const;
    bool Has(std::string_view key) const;
    void Clear();
    int Count() const { return static_cast<int>(entries_.size()); }
    // Every entry in the order added, duplicates included.
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
    std::unordered_map<std::string, std::size_t> index_;  // upper-case key -> first entry
};

// ---- Text helpers ------------------------------------------------------------------------
// Widths count CP1252 characters (one byte each). A width of 0 or less gives "" where the
// helper cuts, and the text unchanged where it only fills.
std::string Replicate(std::string_view text, int n);  // n <= 0: ""
std::string TamFixo(std::string_view text, int n);    // left-aligned, blank-filled, cut to n
// Right-aligned, blank-filled; a longer text keeps its first n characters.
std::string TamFixoR(std::string_view text, int n);
std::string PadL(std::string_view text, int n);  // blanks on the left up to n (never cuts)
std::string PadR(std::string_view text, int n);  // blanks on the right up to n (never cuts)
// Centred in width columns, blank-filled on both sides (the odd blank goes to the right);
// a longer text is returned whole rather than losing characters.
std::string Centraliza(std::string_view text, int width = 48);
// Right-aligned in n digits with leading zeros; a longer text is returned whole, so a number
// never loses digits.
std::string AjustaZero(std::string_view text, int n);
// Right-aligned in n columns with leading zeros; a longer text is cut to its first n characters.
std::string Ajusta(std::string_view text, int n);
bool EmptyString(std::string_view text);   // nothing but blanks (or nothing at all)
std::string RTrim(std::string_view text);  // trailing blanks removed
double Trunc2(double value);               // toward zero on the decimal form: 10.999 -> 10.99
double Trunc3(double value);
double RoundDec(double value, int places);  // half away from zero on the decimal form
Variant iif(bool condition, const Variant& a, const Variant& b);
// The time from a to b as "[-]hh:nn:ss", to the nearest second; "-" when b is before a.
// The text always reads as a time of day: a gap of 24 hours or more is written "23:59:59",
// so a clock a day or more off still shows as off by more than any tolerance.
std::string SubtDataHoraZep(TDateTime a, TDateTime b);

// ---- Cipher ------------------------------------------------------------------------------
// Deterministic, reversible and authenticated (AES-SIV), written as upper-case hexadecimal:
// 32 + 2 x (length of the text) characters. The empty text enciphers to the empty text, and a
// blank cipher text deciphers to "" (a stored field that holds nothing). Uncripto of a text
// that was not enciphered with the same selector, or was changed, raises fw::EConvertError;
// upper- or lower-case hexadecimal and surrounding blanks are accepted.
std::string Cripto(std::string_view text, int selector);
std::string Uncripto(std::string_view cipher, int selector);

// ---- Records handed to the host ----------------------------------------------------------
struct NonFiscalDocRecord {
    std::string f1, f2, f3, f4, f5, f6, f7;  // seven texts in the order the module passes them
    TDateTime dt1, dt2;
    std::string f10;
};
bool setDocNaoFiscaisECF(std::string_view f1, std::string_view f2, std::string_view f3, std::string_view f4,
                         std::string_view f5, std::string_view f6, std::string_view f7, TDateTime dt1, TDateTime dt2,
                         std::string_view f10);

struct CerRecord {
    std::string a, b;
    TDateTime when;
};
void GravaCER(std::string_view a, std::string_view b, TDateTime when);

// The application's message loop and its termination (a request: the host closes when the
// current call has returned).
void ProcessMessages();
void TerminateApplication();

// ---- Hooks -------------------------------------------------------------------------------
struct Hooks {
    std::function<bool(Dialog&)> dialog;  // fills answer; returns it
    std::function<void(const NonFiscalDocRecord&)> ledger;
    std::function<void(const CerRecord&)> cer;
    std::function<void()> processMessages;
    std::function<void()> terminate;
};
// Installs hooks, replacing those installed before; an empty member means the default. The
// defaults answer each question from the queue of answers (an empty queue answers "no", marked
// unanswered). Every call is recorded, whether a hook or a default handled it; a hook that
// throws passes its exception to the caller, and the call is then recorded all the same.
// All of this is the host's user-interface thread's: nothing here is locked.
void InstallHooks(Hooks hooks);
void ResetHooks();

// What the defaults (and every installed hook) saw, for tests and the bridge. A host that runs
// for days never clears it, so each list holds at most kRecordLimit entries, the most recent.
inline constexpr std::size_t kRecordLimit = 10000;
struct Recorder {
    std::vector<Dialog> dialogs;
    std::vector<NonFiscalDocRecord> ledger;
    std::vector<CerRecord> cer;
    std::vector<std::string> paramNames;  // every name RecebeParams was asked for, in order
    int processMessagesCalls = 0;
    int terminateRequests = 0;
    std::vector<bool> queuedAnswers;  // consumed front first by yes/no questions
};
Recorder& Recorded();
void ClearRecorded();  // keeps queued answers
// Called by RecebeParams with each name it is asked for.
void RecordParamName(std::string_view name);
// Appends answers behind those still queued; each yes/no question takes the first.
void QueueAnswers(const std::vector<bool>& answers);
void ClearQueuedAnswers();

}  // namespace orb::hostlib
