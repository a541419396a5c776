// Binding the fiscal library: a start and a stop against the
// virtual printer, a library lacking an entry point, closing the port, the guarded intake.

#include <cstdlib>

#include "connection/Binding.h"
#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "platform/Platform.h"

namespace {

using namespace Orb00100;

// How many of the fiscal entry-point variables are filled.
std::size_t BoundCount() {
    std::size_t bound = 0;
    for (const EntryPointSlot& slot : FiscalEntryPoints()) bound += slot.isSet() ? 1 : 0;
    return bound;
}
constexpr std::size_t kAll = 113;

// The build's library folder (the first of ORB_LIBRARY_PATH), where the fixture stand-ins are built.
std::string LibraryFolder() {
    const std::string paths = orb::platform::GetEnv("ORB_LIBRARY_PATH");
    return paths.substr(0, paths.find(':'));
}

int ORB_VENDOR_CALL DummyFormataTX(char*) { return 0; }

class Binding : public orb::test::DriverTest {};

TEST_F(Binding, StartBindsAndOpensStartAgainKeepsTheLibraryStopReleasesIt) {
    ASSERT_TRUE(StartModule(StartParams().Set("BOUTILTAA", true).Set("IDTIPOIMPFIS", 19)));
    const auto handle = ImpFisDLLHandle;
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(BoundCount(), kAll);
    EXPECT_TRUE(boImpFiscalOK);
    EXPECT_EQ(inTipoImpFis, 19);
    EXPECT_FALSE(boNUtilTaa);  // the self-service flag is kept negated
    EXPECT_EQ(JournalEntries().at(0), "Bematech_FI_AbrePortaSerial");
    EXPECT_TRUE(Dialogs().empty());

    Bematech_FI_LeituraX = nullptr;
    ClearJournal();
    ASSERT_TRUE(StartModule());
    EXPECT_EQ(ImpFisDLLHandle, handle);
    EXPECT_NE(Bematech_FI_LeituraX, nullptr);                          // bound again
    EXPECT_EQ(JournalEntries().at(0), "Bematech_FI_AbrePortaSerial");  // the port opened again
    EXPECT_TRUE(boNUtilTaa);

    BemaFormataTX = &DummyFormataTX;  // filled by the host: not the stop's to clear
    StopImpFiscal();
    EXPECT_EQ(ImpFisDLLHandle, 0u);
    EXPECT_EQ(BoundCount(), 0u);
    EXPECT_EQ(BemaFormataTX, &DummyFormataTX);
    EXPECT_TRUE(boImpFiscalOK);  // the stop leaves the verdict of the last start alone
    StopImpFiscal();             // a second stop has nothing to release
    EXPECT_EQ(ImpFisDLLHandle, 0u);
    ASSERT_TRUE(StartModule());
    EXPECT_EQ(BoundCount(), kAll);
}

TEST_F(Binding, APortThatDoesNotOpenFailsTheStartButKeepsTheLibraryBound) {
    FailNext("Bematech_FI_AbrePortaSerial", 0);
    EXPECT_FALSE(StartModule());
    EXPECT_FALSE(boImpFiscalOK);
    EXPECT_EQ(BoundCount(), kAll);
}

TEST_F(Binding, ALibraryLackingTheLastEntryPointLeavesNothingBound) {
#ifdef _WIN32
    GTEST_SKIP()
        << "the stand-in without its last entry point is built for ELF only (its exports come from a version script)";
#endif
    const std::string fixture = LibraryFolder() + "/fixtures/missing-last";
    ASSERT_TRUE(orb::platform::FileExists(fixture + "/libBemaFI32.so")) << fixture;
    const std::string saved = orb::platform::GetEnv("ORB_LIBRARY_PATH");
    orb::platform::SetEnv("ORB_LIBRARY_PATH", fixture);

    // Every entry point before the missing one is found first.
    const auto library = orb::platform::LoadLibrary("BemaFI32.dll");
    ASSERT_NE(library, 0u);
    EXPECT_EQ(BindFiscalEntryPoints(library), "Bematech_FI_DownloadMF");
    EXPECT_EQ(BoundCount(), kAll - 1);
    ClearFiscalEntryPoints();
    orb::platform::FreeLibrary(library);

    const bool started = StartModule();
    orb::platform::SetEnv("ORB_LIBRARY_PATH", saved);
    EXPECT_FALSE(started);
    EXPECT_EQ(ImpFisDLLHandle, 0u);
    EXPECT_EQ(BoundCount(), 0u);
    EXPECT_FALSE(boImpFiscalOK);
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(LogTexts().empty());
    EXPECT_TRUE(JournalEntries().empty());  // nothing was called
    ASSERT_TRUE(StartModule());             // the complete library binds again afterwards
}

TEST_F(Binding, FechaPortaIsTrueOnlyWhenTheLibraryAnswersOne) {
    EXPECT_FALSE(FechaPorta());  // nothing bound: refused, not a call through an empty variable
    ASSERT_TRUE(StartModule());
    const auto logged = LogTexts().size();
    for (int code : {0, -1, -6, -27, 2}) {
        FailNext("Bematech_FI_FechaPortaSerial", code);
        EXPECT_FALSE(FechaPorta()) << code;
    }
    EXPECT_TRUE(FechaPorta());
    EXPECT_EQ(LogTexts().size(), logged);  // neither logged nor shown
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(Binding, AParameterThatDoesNotConvertShowsTheErrorOnceAndTheStartGoesOn) {
    std::string conversionError;
    try {
        orb::fw::Variant("abc").ToInt();
    } catch (const std::exception& e) {
        conversionError = e.what();
    }
    inTipoImpFis = 7;
    boNUtilTaa = false;
    // BOUTILTAA false would make boNUtilTaa true, but it comes after the failing value.
    EXPECT_TRUE(StartModule(StartParams().Set("IDTIPOIMPFIS", "abc").Set("BOUTILTAA", false)));
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_TRUE(IsDialog(Dialogs()[0], conversionError + ParamErrorTail("StartImpFiscal"), 3, "001"));
    EXPECT_EQ(Dialogs()[0].question, "N");
    EXPECT_EQ(inTipoImpFis, 7);
    EXPECT_FALSE(boNUtilTaa);
    EXPECT_EQ(BoundCount(), kAll);
}

}  // namespace
