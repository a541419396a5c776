// Parameter intake, the answer of a named-parameter operation and the data module's singleton.
#include <gtest/gtest.h>

#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/Params.h"
#include "driver/TestSupport.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"

namespace {

using namespace Orb00100;
using orb::fw::Variant;
using orb::test::NamedParams;
using orb::test::NamedValue;

class FrameParams : public orb::test::DriverTest {
protected:
    bool UsesPrinter() const override { return false; }
};

TEST_F(FrameParams, NamedValuesConvertAsTheHostConvertsThem) {
    const Variant params =
        NamedParams{{"CDFILIAL", "0001"}, {"IDTIPOIMPFIS", "34"}, {"BOUTILTAA", true}, {"NRCAIXA", 7}};
    EXPECT_EQ(ParamText(params, "CDFILIAL"), "0001");
    EXPECT_EQ(ParamText(params, "cdfilial"), "0001");
    EXPECT_EQ(ParamText(params, "NRCAIXA"), "7");
    EXPECT_EQ(ParamInt(params, "IDTIPOIMPFIS"), 34);
    EXPECT_TRUE(ParamBool(params, "BOUTILTAA"));
    // Absent names read as an unassigned variant.
    EXPECT_EQ(ParamText(params, "ESQUEMA"), "");
    EXPECT_EQ(ParamInt(params, "ESQUEMA"), 0);
    EXPECT_FALSE(ParamBool(params, "ESQUEMA"));
    EXPECT_THROW(ParamInt(NamedParams{{"X", "abc"}}, "X"), orb::fw::EConvertError);
}

TEST_F(FrameParams, GuardedIntakeKeepsWhatWasReadAndNamesTheOperation) {
    const Variant params = NamedParams{{"ESQUEMA", "007"}, {"DATAIMP", "x1"}, {"REDIMP", Variant::Null()}};
    std::string scheme, date, reduction = "before";
    const bool read = GuardedIntake("Carrega_Dados_Impressora", [&] {
        scheme = ParamText(params, "ESQUEMA");
        date = ParamText(params, "DATAIMP");
        reduction = ParamText(params, "REDIMP");  // a null does not become a text
    });
    EXPECT_FALSE(read);
    EXPECT_EQ(scheme, "007");
    EXPECT_EQ(date, "x1");
    EXPECT_EQ(reduction, "before");
    // The dialog's text, kind and scheme are those the operations' own tests read.
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_TRUE(Dialogs()[0].text.ends_with(ParamErrorTail("Carrega_Dados_Impressora")));

    EXPECT_TRUE(GuardedIntake("StartImpFiscal", [&] { scheme = ParamText(params, "ESQUEMA"); }));
    EXPECT_EQ(Dialogs().size(), 1u);
}

TEST_F(FrameParams, ReplacedParametersHoldTheOutputsInOrder) {
    Variant params = NamedParams{{"ESQUEMA", "001"}, {"REDIMP", "0042"}};
    ReplaceParams(params, {{"DATAATUIMP", "051226143005"}, {"REDIMP", "0042"}, {"ECFIMP", "001"}});
    ASSERT_TRUE(params.IsArray());
    ASSERT_EQ(params.ArraySize(), 3u);
    EXPECT_EQ(params[0][0].ToString(), "DATAATUIMP");
    EXPECT_EQ(params[2][1].ToString(), "001");
    EXPECT_TRUE(NamedValue(params, "ESQUEMA").IsUnassigned());  // the inputs are gone
    EXPECT_EQ(NamedValue(params, "REDIMP").ToString(), "0042");
}

TEST_F(FrameParams, TheDataModuleIsCreatedOnceWithItsCatalogs) {
    TdtmBematech100& module = EnsureDataModule();
    EXPECT_EQ(&EnsureDataModule(), &module);
    EXPECT_EQ(&DataModule(), &module);
    EXPECT_EQ(dtmBematech100, &module);
    EXPECT_EQ(module.msgPadrao.Msg("ErroPorta"), CP("Erro ao abrir porta de comunicação."));
    EXPECT_GT(module.msgPadrao2.Count(), 0);
}

TEST_F(FrameParams, AnOperationThatNeedsTheDataModuleRaisesBeforeItExists) {
    EnsureDataModule();
    TdtmBematech100* const existing = dtmBematech100;
    dtmBematech100 = nullptr;  // as in a module no operation has created it in yet
    EXPECT_THROW(DataModule(), orb::fw::Exception);
    dtmBematech100 = existing;
    EXPECT_EQ(&DataModule(), existing);
}

}  // namespace
