// The host's text and number helpers. Text is CP1252: one byte is one printed column.
#include "external/hostlib/HostLib.h"

#include <algorithm>
#include <cstdint>

#include "framework/NumberFormat.h"

namespace orb::hostlib {

namespace {

std::size_t Width(int n) { return n > 0 ? static_cast<std::size_t>(n) : 0; }

std::string Fill(std::size_t count, char c) { return std::string(count, c); }

}  // namespace

std::string Replicate(std::string_view text, int n) {
    std::string out;
    if (n <= 0 || text.empty()) return out;
    out.reserve(text.size() * Width(n));
    for (int i = 0; i < n; ++i) out.append(text);
    return out;
}

std::string TamFixo(std::string_view text, int n) {
    std::size_t w = Width(n);
    std::string out(text.substr(0, w));
    out.append(w - out.size(), ' ');
    return out;
}

std::string TamFixoR(std::string_view text, int n) {
    std::size_t w = Width(n);
    std::string_view cut = text.substr(0, w);
    return Fill(w - cut.size(), ' ') + std::string(cut);
}

std::string PadL(std::string_view text, int n) {
    std::size_t w = Width(n);
    return text.size() >= w ? std::string(text) : Fill(w - text.size(), ' ') + std::string(text);
}

std::string PadR(std::string_view text, int n) {
    std::size_t w = Width(n);
    std::string out(text);
    if (out.size() < w) out.append(w - out.size(), ' ');
    return out;
}

std::string Centraliza(std::string_view text, int width) {
    std::size_t w = Width(width);
    if (text.size() >= w) return std::string(text);
    std::size_t left = (w - text.size()) / 2;
    std::size_t right = w - text.size() - left;
    return Fill(left, ' ') + std::string(text) + Fill(right, ' ');
}

std::string AjustaZero(std::string_view text, int n) {
    std::size_t w = Width(n);
    return text.size() >= w ? std::string(text) : Fill(w - text.size(), '0') + std::string(text);
}

std::string Ajusta(std::string_view text, int n) {
    std::size_t w = Width(n);
    // A longer text keeps its head: an EAN-13 code asked for in 12 columns drops its check digit.
    std::string_view cut = text.substr(0, w);
    return Fill(w - cut.size(), '0') + std::string(cut);
}

bool EmptyString(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

std::string RTrim(std::string_view text) {
    auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

double Trunc2(double value) { return fw::DecimalTruncate(value, 2); }

double Trunc3(double value) { return fw::DecimalTruncate(value, 3); }

double RoundDec(double value, int places) { return fw::DecimalRound(value, places); }

Variant iif(bool condition, const Variant& a, const Variant& b) { return condition ? a : b; }

std::string SubtDataHoraZep(TDateTime a, TDateTime b) {
    std::int64_t seconds = fw::SecondsBetween(a, b);
    bool negative = seconds < 0;
    // Counted as unsigned so that the most negative count cannot overflow on negation.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
    constexpr std::uint64_t kDay = 24 * 3600;
    if (magnitude >= kDay) magnitude = kDay - 1;
    auto two = [](std::uint64_t v) {
        return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
    };
    std::string out = negative ? "-" : "";
    out += two(magnitude / 3600) + ":" + two(magnitude / 60 % 60) + ":" + two(magnitude % 60);
    return out;
}

}  // namespace orb::hostlib
