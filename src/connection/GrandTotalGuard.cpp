#include "connection/GrandTotalGuard.h"

#include <exception>

#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/Params.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "framework/Exceptions.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "platform/Platform.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace {

void ShowMessage(const std::string& text, const std::string& scheme) {
    orb::hostlib::Inform(scheme, text, orb::hostlib::DialogKind::Error);
}

// A quote inside a value must not end the filter's text literal.
std::string Quoted(const std::string& value) { return "'" + orb::fw::StringReplaceAll(value, "'", "''") + "'"; }

std::string WithPath(const std::string& text, const std::string& path) {
    const int at = orb::fw::Pos("%s", text);
    if (at == 0) return text;
    return text.substr(0, at - 1) + path + text.substr(at + 1);
}

bool ReadsAsTotal(const std::string& text, double& value) {
    if (!orb::fw::TryStrToFloat(text, value)) return false;
    value = orb::fw::DecimalRound(value, 2);
    return true;
}

// The host's copy, deciphered. A copy that does not decipher (changed by hand, or written with
// another selector) is as wrong as one holding another total: it reads as no number at all.
std::string ReadCopy(const std::string& cipher) {
    if (orb::hostlib::EmptyString(cipher)) return "";
    try {
        return orb::hostlib::Uncripto(cipher, kSeletorCripto);
    } catch (const orb::fw::EConvertError&) {
        return "?";
    }
}

// The printer's grand total as text and as a number; false when the printer did not answer one.
bool PrinterTotal(const std::string& scheme, std::string& text, double& value) {
    try {
        BuscaTotGer(scheme, text);
    } catch (const orb::fw::EConvertError&) {
        return false;
    }
    return ReadsAsTotal(text, value);
}

}  // namespace

std::string TamboraPath() { return orb::platform::JoinPath(orb::platform::HostDirectory(), "Tambora.cds"); }

bool Atu_TotGeral(const orb::fw::Variant& params) {
    TdtmBematech100& dm = EnsureDataModule();
    bool ok = true;

    const std::string branch = ParamText(params, "CDFILIAL");
    const std::string till = ParamText(params, "CDCAIXA");
    const std::string serial = ParamText(params, "NRSERIEIMP");
    const std::string scheme = ParamText(params, "ESQUEMACOR");
    const std::string validate = ParamText(params, "IDVALIDA");
    const bool mayRepair = ParamBool(params, "BOPODERECOMPORGT");

    const std::string path = TamboraPath();
    orb::fw::ClientDataSet& table = dm.cdsCheckECF;
    bool writing = false;
    try {
        table.LoadFromFile(path);
        table.SetLogChanges(false);
        table.SetFilter("CDFILIAL = " + Quoted(branch) + " AND CDCAIXA = " + Quoted(till) +
                        " AND NRSERIEECF = " + Quoted(orb::hostlib::Cripto(serial, kSeletorCripto)));
        table.SetFiltered(true);
        table.First();
        if (table.IsEmpty() || table.FieldByName("CAMPO01").AsString() != "S") {
            table.Close();
            return ok;
        }

        const std::string copy = ReadCopy(table.FieldByName("CAMPO02").AsString());
        std::string printerTotal;
        double printerValue = 0;
        if (!PrinterTotal(scheme, printerTotal, printerValue)) {
            // A printer that does not tell its total can be neither checked nor copied: it fails
            // the guard like a mismatch, so that a replaced printer cannot pass by keeping quiet.
            ShowMessage(dm.msgPadrao.Msg("ERRO_COM_ECF"), scheme);
            boClieUtil = false;
            table.Close();
            return false;
        }

        auto write = [&] {
            writing = true;
            const std::string cipher = orb::hostlib::Cripto(printerTotal, kSeletorCripto);
            orb::fw::Field& field = table.FieldByName("CAMPO02");
            // A column too narrow would keep a cut cipher that never deciphers again.
            if (field.Size() > 0 && static_cast<int>(cipher.size()) > field.Size())
                throw orb::fw::EDatabaseError("Field 'CAMPO02' is too small for the grand total");
            table.Edit();
            field.SetAsString(cipher);
            table.Post();
            table.SaveToFile(path);
            table.Close();
        };
        auto repairOrRefuse = [&] {
            if (mayRepair) {
                if (boNUtilTaa && !boClieUtil)
                    ShowMessage(WithPath(dm.msgPadrao.Msg("ArqConfig_Recompor"), path), scheme);
                write();
            } else {
                if (boNUtilTaa && !boClieUtil) ShowMessage(WithPath(dm.msgPadrao.Msg("ArqConfig_Inv4"), path), scheme);
                boClieUtil = false;
                ok = false;
            }
        };

        if (validate != "S") {
            write();
            return ok;
        }

        double copyValue = 0;
        if (orb::hostlib::EmptyString(copy)) {
            repairOrRefuse();
        } else if (ReadsAsTotal(copy, copyValue) && copyValue == orb::fw::DecimalRound(10.10, 2)) {
            // The placeholder the host writes before it knows the printer's total.
            write();
        } else if (ReadsAsTotal(copy, copyValue) && copyValue == printerValue) {
            table.Close();
        } else {
            repairOrRefuse();
        }
    } catch (const std::exception& e) {
        ShowMessage(e.what(), scheme);
        boClieUtil = false;
        // A copy that was to be rewritten and was not is still wrong, and one that cannot be read
        // cannot vouch for the printer.
        if (writing || validate == "S") ok = false;
    }
    return ok;
}

}  // namespace Orb00100
