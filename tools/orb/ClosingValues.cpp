#include "ClosingValues.h"

namespace orb::cli {

using fw::FieldType;
using fw::Variant;

std::vector<Variant> ClosingValues::Values() const {
    using namespace closing;
    std::vector<Variant> v(kCount, Variant(""));
    v[3] = 0;
    v[50] = 0.0;
    v[kChangeTotalizer] = changeTotalizer;
    v[kFirstText] = firstText;
    v[kScheme] = scheme;
    v[kChangeReceipt] = changeReceipt;
    v[kShowMessages] = showMessages;
    v[kDiscount] = discount;
    v[kChange] = change;
    v[kSurcharge] = surcharge;
    v[kTefUse] = tefUse;
    v[kFreeText] = freeText;
    v[kTefInProgress] = tefInProgress;
    v[kMovements] = movements;
    v[kPaymentTypes] = paymentTypes;
    v[kConsumerCode] = consumerCode;
    v[kConsumerName] = consumerName;
    v[kSecondConsumerCode] = secondConsumerCode;
    v[kSecondConsumerName] = secondConsumerName;
    v[kFooterSelector] = footerSelector;
    v[kFooterSubselector] = footerSubselector;
    v[kTable] = table;
    v[kOperatorCode] = operatorCode;
    v[kOperatorName] = operatorName;
    v[kBalanceMode] = balanceMode;
    v[kConferenceCoo] = conferenceCoo;
    v[kConferenceCer] = conferenceCer;
    v[kPassword] = password;
    v[kCreditBalances] = creditBalances;
    v[kFamilyBalances] = familyBalances;
    v[kLoans] = loans;
    v[kSecondConsumerForm] = secondConsumerForm;
    v[kFooterMode] = footerMode;
    v[kBalanceBefore] = balanceBefore;
    v[kSubsidy] = subsidy;
    v[kTransferFooter] = transferFooter;
    v[kPrinterNumber] = printerNumber;
    v[kStateProgrammeNumber] = stateProgrammeNumber;
    v[kStateCode] = stateCode;
    v[kCompanyCnpj] = companyCnpj;
    v[kLimitKind] = limitKind;
    v[kDailyLimit] = dailyLimit;
    v[kMonthlyLimit] = monthlyLimit;
    v[kConsumptionBalances] = consumptionBalances;
    v[kFederalTax] = federalTax;
    v[kLoyaltyPoints] = loyaltyPoints;
    v[kExcessBalance] = excessBalance;
    v[kFiscalNote] = fiscalNote;
    v[kStateTax] = stateTax;
    v[kDailyConsumption] = dailyConsumption;
    v[kPrintSecondConsumer] = printSecondConsumer;
    return v;
}

Variant ClosingMovements(const std::vector<ClosingMovement>& movements) {
    fw::DataPacket packet;
    packet.fields = {{"CDFILIAL", FieldType::String, 4},     {"IDTIPOMOVIVE", FieldType::String, 1},
                     {"DTHRINCMOV", FieldType::DateTime, 0}, {"CDTIPORECE", FieldType::String, 3},
                     {"VRMOVIVEND", FieldType::Float, 0},    {"NRORDTROCO", FieldType::Integer, 0},
                     {"CDBANCARTCR", FieldType::String, 3},  {"CDTIPORECEORIG", FieldType::String, 3}};
    for (const ClosingMovement& m : movements)
        packet.rows.push_back({Variant("0001"), Variant(m.kind), Variant(m.taken), Variant(m.type), Variant(m.amount),
                               Variant(m.changeOrder), Variant(m.card), Variant(m.originalType)});
    return Variant(std::move(packet));
}

Variant ClosingPaymentTypes(const std::vector<ClosingPaymentType>& types) {
    fw::DataPacket packet;
    packet.fields = {{"CDTIPORECE", FieldType::String, 3},
                     {"NMTIPORECE", FieldType::String, 40},
                     {"IDTIPORECE", FieldType::String, 1}};
    for (const ClosingPaymentType& t : types)
        packet.rows.push_back({Variant(t.code), Variant(t.name), Variant(t.kind)});
    return Variant(std::move(packet));
}

Json FechaCupomRequest(const ClosingValues& values) {
    Json array = Json::array();
    for (const Variant& v : values.Values()) array.push_back(VariantToJson(v));
    return Json{{"call", "FechaCupom"},
                {"args", Json::array({array, nullptr, Json::array({nullptr, nullptr, nullptr, nullptr})})}};
}

}  // namespace orb::cli
