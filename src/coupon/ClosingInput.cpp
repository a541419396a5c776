// The closing's positional values, read in one guarded pass as the host hands them over.
#include "coupon/ClosingInput.h"

#include "driver/DataModule.h"
#include "external/hostlib/HostLib.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"

namespace Orb00100::closing {

namespace {

using orb::fw::Variant;

class Reader {
public:
    explicit Reader(std::span<const Variant> params) : params_(params) {}
    const Variant& At(std::size_t i) const {
        if (i >= params_.size())
            throw orb::fw::EVariantError("FechaCupom: parameter " + std::to_string(i) + " missing");
        return params_[i];
    }
    std::string Text(std::size_t i) const { return At(i).ToString(); }
    double Real(std::size_t i) const { return At(i).ToDouble(); }
    bool Flag(std::size_t i) const { return At(i).ToBool(); }

private:
    std::span<const Variant> params_;
};

void ReadInOrder(const Reader& r, ClosingInput& in) {
    in.receiptTotalizer = r.Text(0);
    in.firstText = r.Text(1);
    in.scheme = r.Text(2);
    r.At(3);
    in.changeReceipt = r.Flag(4);
    in.show = r.Flag(5);
    in.discount = r.Real(6);
    in.change = r.Real(7);
    in.surcharge = r.Real(8);
    in.transfer.kind = r.Text(9);
    in.freeText = r.Text(10);
    in.transfer.inUse = r.Flag(11);
    in.movements = r.At(13);
    in.paymentTypes = r.At(14);
    in.consumerCode = r.Text(15);
    in.consumerName = r.Text(16);
    in.consumerCode2 = r.Text(17);
    in.consumerName2 = r.Text(18);
    in.selector19 = r.Text(19);
    in.selector20 = r.Text(20);
    in.tableNumber = r.Text(21);
    in.operatorCode = r.Text(22);
    in.operatorName = r.Text(23);
    in.balanceMode = r.Text(27);
    in.conferenceCoo = r.Text(28);
    in.conferenceCer = r.Text(29);
    in.password = r.Text(31);
    in.creditBalances = r.At(32);
    in.familyBalances = r.At(33);
    in.loans = r.At(34);
    in.selector35 = r.Text(35);
    in.footerMode = r.Text(36);
    in.balanceBefore = r.Real(37);
    in.subsidised = r.Real(38);
    in.transferReceipt = r.Text(40);
    in.printerNumber = r.Text(41);
    in.stateNumber = r.Text(42);
    in.stateCode = r.Text(43);
    in.companyTaxNumber = r.Text(45);
    in.limitKind = r.Text(46);
    in.dailyLimit = r.Text(47);
    in.monthlyLimit = r.Text(48);
    in.consumption = r.At(49);
    in.federalTax = r.Real(51);
    in.loyaltyPoints = r.Real(52);
    in.excessBalance = r.Real(53);
    in.stateTax = r.Real(58);
    // A Null here is the host's "not said", which has always meant: print them.
    in.printSecondConsumer = r.At(60).IsNull() ? true : r.Flag(60);
}

}  // namespace

ClosingInput ReadClosingInput(std::span<const Variant> params) {
    const Reader r(params);
    ClosingInput in;
    try {
        ReadInOrder(r, in);
    } catch (const std::exception&) {
        // What could not be read stays empty; the consumption table then counts as empty.
        in.consumption = Variant();
    }
    try {
        in.noteNumber = r.Text(56);
        if (!in.noteNumber.empty()) in.noteNumber = orb::hostlib::Ajusta(in.noteNumber, 10);
    } catch (const std::exception&) {
        in.noteNumber.clear();
    }
    try {
        in.dailyConsumption = r.Text(59);
    } catch (const std::exception&) {
        in.dailyConsumption.clear();
    }
    return in;
}

std::string TablePrefix(const std::string& tableNumber) {
    if (tableNumber.empty()) return {};
    const auto& msg = DataModule().msgPadrao;
    if (tableNumber.size() > 4 || tableNumber == "0000") return msg.Msg("Comanda") + ": " + tableNumber + " ";
    return msg.Msg("Mesa") + ": " + tableNumber + " ";
}

}  // namespace Orb00100::closing
