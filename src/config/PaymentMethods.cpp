// The printer's payment methods reconciled with the host's payment types. A coupon is paid by
// naming the method exactly as the printer holds it, so every payment button the host shows
// must exist on the printer, and the host must know how the printer spells it.
#include "config/Config.h"

#include <algorithm>
#include <vector>

#include "config/ConfigCalls.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"

namespace Orb00100 {

namespace {

using orb::fw::ClientDataSet;
using orb::fw::Copy;
using orb::fw::UpperCase;
using orb::fw::Variant;

constexpr int kReplyWidth = 3016;
constexpr int kFullWidth = 16;  // the widest payment name any model keeps

// Model 19 keeps 15 characters of a payment name, the others 16.
int NameWidth(int model) { return model == 19 ? 15 : 16; }

// Where name stands in the printer's list as a whole payment name (1-based), 0 when it does
// not. A name counts only at the start of a record (the start of the list or after ",") and
// only when nothing but blanks follows it in the name's width: "Cartao" must not be taken for
// "Cartao Credito", or its payments would go to another method.
int FindName(const std::string& reply, const std::string& name, int width) {
    if (name.empty()) return 0;
    for (std::size_t at = reply.find(name); at != std::string::npos; at = reply.find(name, at + 1)) {
        if (at != 0 && reply[at - 1] != ',') continue;
        bool whole = true;
        for (std::size_t i = at + name.size();
             whole && i < at + static_cast<std::size_t>(width) && i < reply.size() && reply[i] != ','; ++i)
            whole = reply[i] == ' ';
        if (whole) return static_cast<int>(at) + 1;
    }
    return 0;
}

int FindNameIgnoringCase(const std::string& reply, const std::string& name, int width) {
    return FindName(UpperCase(reply), UpperCase(name), width);
}

// Vouchers are issued for every payment kind but "4".
std::string VoucherFlag(const std::string& kind) { return kind == "4" ? "N" : "S"; }

std::string Text(ClientDataSet& table, const char* field) { return table.FieldByName(field).AsString(); }
void Set(ClientDataSet& table, const char* field, const std::string& value) {
    table.FieldByName(field).SetAsString(value);
}

bool ProgramMethod(const std::string& scheme, const std::string& name, StatusCheck check) {
    std::string sent = name;
    std::string linkable = "1";
    return Call(scheme, check, "Bematech_FI_ProgramaFormaPagamentoMFD : " + name + "1",
                Bematech_FI_ProgramaFormaPagamentoMFD, sent.data(), linkable.data());
}

class Reconciliation {
public:
    Reconciliation(const std::string& scheme, int model, ClientDataSet& host, ClientDataSet& copy)
        : scheme_(scheme), width_(NameWidth(model)), host_(host), copy_(copy) {}

    void Run() {
        Query(scheme_, {}, ORB_ENTRY(Bematech_FI_VerificaFormasPagamento), kReplyWidth, reply_);

        while (!host_.Eof()) {
            ReconcileRow();
            // The host's screen keeps repainting through a long programming run.
            orb::hostlib::ProcessMessages();
        }
        EnsureManagementMethod();
    }

private:
    void ReconcileRow() {
        const std::string shown = Text(host_, "IDMOSTRARECE");
        if (shown != "S" && !shown.empty()) {
            host_.Next();
            return;
        }
        const std::string name = Copy(Text(host_, "DSIMPFISCAL"), 1, width_);
        const std::string upper = UpperCase(name);
        const bool handled = std::find(handled_.begin(), handled_.end(), upper) != handled_.end();
        if (!handled && FindNameIgnoringCase(reply_, name, width_) == 0) {
            ProgramNew(name, upper);
        } else {
            UpdateKnown(name);
            host_.Next();
        }
    }

    // A name the printer lacks: programmed, then kept only when the printer lists it afterwards.
    void ProgramNew(const std::string& name, const std::string& upper) {
        ProgramMethod(scheme_, name, {});
        // The check reads the list again without a log line; its verdict only counts once the
        // name is there.
        AnswerArea area(kReplyWidth);
        const int code = Invoke(Bematech_FI_VerificaFormasPagamento, area.data());
        reply_ = area.Text();
        if (FindName(reply_, name, width_) == 0 || !CheckStatus(scheme_, code)) {
            host_.Delete();  // the cursor moves to the row that followed
            return;
        }
        handled_.push_back(upper);
        const std::string kind = Text(host_, "IDTIPORECE");
        host_.Edit();
        // The coupon pays by this name; the printer now holds it exactly as sent.
        Set(host_, "NMTIPORECE", orb::hostlib::RTrim(name));
        Set(host_, "CDFPIMPFIS", "S");
        Set(host_, "IDEMIVALE", VoucherFlag(kind));
        host_.Post();
        if (copy_.Locate("CDTIPORECE", Variant(Text(host_, "CDTIPORECE")), orb::fw::loCaseInsensitive)) {
            copy_.Edit();
            Set(copy_, "CDFPIMPFIS", "");
            Set(copy_, "IDEMIVALE", VoucherFlag(kind));
            copy_.Post();
        }
        host_.Next();
    }

    // A name the printer holds already: the host row takes the printer's spelling.
    void UpdateKnown(const std::string& name) {
        const int at = FindNameIgnoringCase(reply_, name, width_);
        const std::string printed = orb::hostlib::RTrim(at > 0 ? Copy(reply_, at, width_) : name);
        const std::string kind = Text(host_, "IDTIPORECE");
        const std::string code = Text(host_, "CDTIPORECE");

        copy_.SetFilter("CDFPIMPFIS <> ' '");
        copy_.SetFiltered(true);
        if (copy_.Locate("DSIMPFISCAL", Variant(Text(host_, "DSIMPFISCAL")), orb::fw::loCaseInsensitive)) {
            const std::string fiscalCode = Text(copy_, "CDFPIMPFIS");
            host_.Edit();
            Set(host_, "NMTIPORECE", printed);
            Set(host_, "CDFPIMPFIS", fiscalCode);
            Set(host_, "IDEMIVALE", VoucherFlag(kind));
            host_.Post();
        } else {
            host_.Edit();
            Set(host_, "NMTIPORECE", printed);
            Set(host_, "CDFPIMPFIS", "S");
            Set(host_, "IDEMIVALE", VoucherFlag(kind));
            if (kind == "B") Set(host_, "IDMOSTRARECE", "N");
            host_.Post();
            if (copy_.Locate("CDTIPORECE", Variant(code), orb::fw::loCaseInsensitive)) {
                copy_.Edit();
                Set(copy_, "NMTIPORECE", printed);
                Set(copy_, "CDFPIMPFIS", "");
                Set(copy_, "IDEMIVALE", VoucherFlag(kind));
                copy_.Post();
            }
        }
        copy_.SetFiltered(false);
    }

    // Management reports are paid under a method of their own, which must exist as well.
    void EnsureManagementMethod() {
        const std::string title = Copy(config::CatalogText("RelGerencial"), 1, kFullWidth);
        if (FindNameIgnoringCase(reply_, title, kFullWidth) == 0) ProgramMethod(scheme_, title, {});
    }

    const std::string& scheme_;
    int width_;
    ClientDataSet& host_;
    ClientDataSet& copy_;
    std::string reply_;
    std::vector<std::string> handled_;  // upper case, programmed in this call
};

}  // namespace

void CarregaRecebimento(const std::string& /*unused*/, const std::string& scheme, int model,
                        orb::fw::ClientDataSet*& table) {
    if (table == nullptr) throw orb::fw::Exception("CarregaRecebimento: no table of payment types was passed");
    ClientDataSet& copy = DataModule().cdsReceb;
    // Whatever restriction an earlier call left must not outlive the rows it was made for.
    copy.SetFiltered(false);
    copy.SetFilter("");
    copy.CopyDataFrom(*table);

    table->SetFilter("IDTPBUTTON = '5'");
    table->SetFiltered(true);
    table->First();
    Reconciliation(scheme, model, *table, copy).Run();
}

bool Config_FormaPg(const std::string& scheme, const std::string& name, bool show, bool cancelOpenCoupon) {
    return ProgramMethod(scheme, Copy(name, 1, kFullWidth), {.show = show, .cancelOpenCoupon = cancelOpenCoupon});
}

}  // namespace Orb00100
