// Composition of the coupon footer under its line budget.
#include "coupon/Footer.h"

#include <algorithm>

#include "driver/Catalogs.h"
#include "driver/DataModule.h"
#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"

namespace Orb00100 {

namespace {

constexpr int kColumns = 48;
constexpr char kNl = '\n';

std::string Fixed2(double value) { return orb::fw::FloatToStrFixed(value, 2); }

// Lines the free text will take: its line breaks (at least one) plus one per full printed line.
int FreeTextLines(const std::string& text) {
    const int breaks = static_cast<int>(std::count(text.begin(), text.end(), kNl));
    return std::max(breaks, 1) + static_cast<int>(text.size()) / kColumns;
}

std::string CodeAndName(const std::string& code, const std::string& name) {
    return orb::fw::Copy(code + " - " + name, 1, 40);
}

}  // namespace

std::string Formata_rodape(int maxLines, const std::string& footerMode, const std::string& firstText,
                           const std::string& noteLine, const std::string& taxLine, const std::string& stateLine,
                           const std::string& code1, const std::string& name1, const std::string& code2,
                           const std::string& name2, const std::string& operatorCode, const std::string& operatorName,
                           const std::string& tablePrefix, const std::string& passwordLine,
                           const std::string& /*unused1*/, const std::string& /*unused2*/,
                           const std::string& /*unused3*/, const std::string& freeText,
                           const std::string& printerNumber, const std::string& cer, const std::string& coo,
                           const std::string& balanceMode, const std::string& layout, double balance, double subsidised,
                           double /*unusedAmount*/, orb::fw::ClientDataSet* /*balances1*/,
                           orb::fw::ClientDataSet* /*balances2*/, orb::fw::ClientDataSet* /*balances3*/, bool useLines,
                           orb::fw::StringList* lines, const std::string& loyaltyLine, const std::string& centredText,
                           const std::string& balanceBlock, const std::string& dailyConsumption) {
    const auto& msg = EnsureDataModule().msgPadrao;
    std::string text = firstText + kNl;
    int n = 0;
    if (!noteLine.empty()) {
        text += noteLine + kNl;
        n = 1;
    }
    text += taxLine + kNl;
    if (!stateLine.empty()) {
        text += stateLine + kNl;
        n += 5;
    } else {
        n += 3;
    }
    if (!cer.empty() && !coo.empty()) {
        text += "ECF:" + printerNumber + "-Conf.Mesa -CER: " + cer + "- COO: " + coo + kNl;
        ++n;
    }
    const int freeLines = FreeTextLines(freeText);
    const std::string operatorLine = msg.Msg("Operador") + ": " + operatorCode + " - " + operatorName;

    if (layout == "1") {
        text += msg.Msg("Convenio") + " ..: " + CodeAndName(code1, name1) + kNl;
        text += msg.Msg("Consumidor") + " : " + CodeAndName(code2, name2) + kNl;
        text += msg.Msg("Sald_Cons") + " - " + Fixed2(balance) + kNl;
        text += msg.Msg("PRECO_SUBSIDIO") + " - " + Fixed2(subsidised) + kNl;
        text += tablePrefix + passwordLine + kNl;
        text += operatorLine + kNl;
        text += std::string(kMakerContactLine) + kNl;
        if (freeLines <= 1) text += freeText;
        return text;
    }
    if (layout != "2") return text;

    if (useLines && lines != nullptr) {
        for (int i = 0; i < lines->Count(); ++i) {
            // Every piece ended by a line break is a footer line; a last piece without one is
            // kept as a line of its own rather than lost.
            const std::string& line = (*lines)[i];
            for (std::size_t start = 0; start < line.size();) {
                const std::size_t end = std::min(line.find(kNl, start), line.size());
                text += line.substr(start, end - start) + kNl;
                ++n;
                start = end + 1;
            }
        }
    }
    if (!code1.empty() && n < maxLines) {
        text += msg.Msg("CDCLIE") + CodeAndName(code1, name1) + kNl;
        ++n;
    }
    if (!code2.empty() && n < maxLines) {
        text += msg.Msg("Consumidor") + " : " + CodeAndName(code2, name2) + kNl;
        ++n;
    }
    const std::string balanceLine = msg.Msg("Sald_Cons") + "  " + Fixed2(balance) + kNl;
    if (footerMode == "1") {
        if (balanceMode == "0" && n < maxLines) {
            text += balanceLine;
            ++n;
        } else if (balanceMode == "1") {
            text += balanceBlock + kNl;
            ++n;
        }
    } else if (footerMode == "2") {
        if ((balanceMode == "0" || balanceMode == "1") && n < maxLines) {
            text += balanceLine;
            ++n;
        }
    }
    // A daily consumption that is not a number has nothing to print.
    double daily = 0;
    const bool hasDaily = !dailyConsumption.empty() && orb::fw::TryStrToFloat(dailyConsumption, daily);
    if ((subsidised != 0 || hasDaily) && n < maxLines) {
        if (subsidised != 0) text += msg.Msg("PRECO_SUBSIDIO") + " " + Fixed2(subsidised) + " - ";
        if (hasDaily) text += msg.Msg("SALDO_CONSUMO_DIA") + " " + Fixed2(daily);
        text += kNl;
        ++n;
    }
    if (n < maxLines && (!tablePrefix.empty() || !passwordLine.empty())) {
        text += tablePrefix + passwordLine + kNl;
        ++n;
    }
    for (const std::string* centred : {&loyaltyLine, &centredText}) {
        if (n < maxLines && !centred->empty()) {
            text += orb::hostlib::Centraliza(*centred, 40) + kNl;
            ++n;
        }
    }
    if (!freeText.empty()) {
        const int room = maxLines - n;
        if (freeLines <= room) {
            text += freeText + kNl;
            n += freeLines;
        } else if (room == 1) {
            text += orb::fw::Copy(freeText, 1, kColumns) + kNl;
            ++n;
        } else if (room > 1) {
            const bool whole = static_cast<int>(freeText.size()) <= room * kColumns;
            text += orb::fw::Copy(freeText, 1, room * kColumns) + kNl;
            n += whole ? (static_cast<int>(freeText.size()) + kColumns - 1) / kColumns : room;
        }
    }
    if (n < maxLines) {
        text += std::string(kMakerContactLine) + kNl;
        ++n;
    }
    if (n < maxLines) text += operatorLine;
    return text;
}

}  // namespace Orb00100
