#pragma once
// What every document shares: whether it may start, its numbers, its header and closing lines
// on the paper, and the status bytes the printer shows.
#include <string>

#include "fiscal/FiscalCall.h"

namespace orb::sim::fiscal {

// Cancellation: the document that cancels the last coupon; a fiscal document taking only a COO.
enum class DocKind { Coupon, NonFiscal, Slip, Report, Reading, Reduction, Cancellation };

// 0 when a new document of that kind may start now, else the refusal (already recorded).
int CheckNewDocument(Call& c, DocKind kind);
// 0 when the printer can print (paper, cover), else the refusal.
int CheckPrinting(Call& c);
bool ReductionPending(const State& s, const Moment& now);
bool DayClosed(const State& s, const Moment& now);

// Takes the next COO (and CCF for a coupon, GNF for the other documents but the reduction),
// opens the movement day, and prints the header with the title. A document that is not part of
// the last coupon (its linked slips) ends the chance to cancel that coupon.
void StartDocument(Call& c, DocKind kind, const std::string& titleUtf8, bool keepsLastCoupon = false);
void EndDocument(Call& c);  // the closing lines

// Status bytes as a status read shows them (forced ones first).
void ReadStatus(State& s, int& ack, int& st1, int& st2);
int ExtendedStatus(const State& s);

// The partial totals: 16 rates of 14 digits, then ",", exempt, ",", non-incidence, ",",
// substitution (14 digits each), then ",", withdrawal, ",", supply.
std::string PartialTotalsText(const State& s);

// Lines of two columns for the paper: label on the left, value right-aligned (code page 1252).
std::string Columns(const std::string& left, const std::string& right);
std::string Dashes();

}  // namespace orb::sim::fiscal
