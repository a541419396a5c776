#pragma once
// One call of an entry point of the virtual fiscal printer: loading the state, power and fault
// injection, the handler, forced answers, the journal line, the paper printed, saving.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "fiscal/FiscalState.h"

namespace orb::sim::fiscal {

// Status byte 1 and status byte 2, as the driver decodes them.
namespace st1 {
constexpr int kPaperOut = 128, kPaperLow = 64, kClock = 32, kPrinterError = 16, kSyntax = 8, kUnknownCommand = 4,
              kCouponOpen = 2, kParameterCount = 1;
}
namespace st2 {
constexpr int kParameterType = 128, kMemoryFull = 64, kMemoryError = 32, kRateNotProgrammed = 16, kRatesFull = 8,
              kCancelNotAllowed = 4, kOwnerNotProgrammed = 2, kNotExecuted = 1;
}

constexpr int kOk = 1;
constexpr int kCommunication = 0;
constexpr int kNotYetModelled = -1;
constexpr int kBadArgument = -2;
constexpr int kPortBusy = -5;
constexpr int kPrinterOff = -6;
constexpr int kPaymentNotProgrammed = -24;
constexpr int kTotalizerNotProgrammed = -25;
constexpr int kRefused = -27;  // the printer answered with status bytes other than 6, 0, 0

constexpr std::size_t kColumns = 48;

struct Moment {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::string Ymd() const;     // yyyymmdd
    std::string Ddmmyy() const;  // DDMMYY
    std::string Hhmmss() const;
    std::string Display() const;  // dd/mm/yyyy hh:nn:ss
};
Moment PrinterNow(const State& s);
std::int64_t ComputerSeconds();  // the computer's local clock, seconds since 30 Dec 1899
Moment MomentFromSeconds(std::int64_t seconds);
std::int64_t SecondsFromMoment(const Moment& m);
std::string DdmmyyFromYmd(const std::string& ymd);

struct Arg {
    enum Kind { kText, kArea, kInt, kOut } kind = kText;
    const char* text = nullptr;
    char* area = nullptr;
    std::size_t width = 0;
    int value = 0;
    int* out = nullptr;
    std::string answer;  // what the call writes into its area (code page 1252)
    bool answered = false;
    int outValue = 0;
    bool outSet = false;
};
Arg In(const char* text);
Arg Area(char* area);
Arg Int(int value);
Arg Out(int* out);

class Call {
public:
    Call(State& state, const char* entry, std::vector<Arg>& args) : s(state), entry(entry), args_(args) {}
    State& s;
    const std::string entry;

    std::string Text(std::size_t i) const;  // code page 1252, as the caller passed it
    bool IsNull(std::size_t i) const { return args_.at(i).text == nullptr; }
    int Int(std::size_t i) const { return args_.at(i).value; }
    void Answer(std::size_t i, std::string cp1252);
    void SetOut(std::size_t i, int value);

    // A refusal of the printer: the status bytes of this command carry the bits.
    int Refuse(int st1Bits, int st2Bits);
    Moment Now() const { return PrinterNow(s); }

    // The paper: lines in code page 1252, cut into 48 columns.
    void Print(const std::string& line);
    void PrintText(const std::string& text);  // lines split at "\n" (a "\r" before it dropped)
    void PrintU(const std::string& utf8) { Print(Utf8(utf8)); }
    static std::string Utf8(const std::string& utf8);  // UTF-8 literal to code page 1252
    const std::vector<std::string>& Printed() const { return printed_; }

private:
    std::vector<Arg>& args_;
    std::vector<std::string> printed_;
};

enum CallFlags : unsigned {
    kNone = 0,
    kStatusRead = 1,  // reads the status of the last command: leaves it as it stands
};

using Handler = std::function<int(Call&)>;
int Run(const char* entry, std::initializer_list<Arg> args, const Handler& handler, unsigned flags = kNone);
// Entry points that a later stage of the model will carry: journalled, answer -1.
int NotYet(const char* entry, std::initializer_list<Arg> args);

// Shared by the control entry: run f on the loaded state inside one transaction and save it.
// With replacesState, a state document that cannot be read is not an error (f replaces it).
void WithState(const std::function<void(State&, class Journal&)>& f, bool replacesState = false);

class Journal {
public:
    virtual ~Journal() = default;
    virtual std::vector<std::string> Read(const char* log) = 0;
    virtual void Clear(const char* log) = 0;
};

}  // namespace orb::sim::fiscal
