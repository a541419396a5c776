// What the printer gives out of its fiscal memory: the X reading sent to the computer, the
// fiscal-memory readings (printed, or sent to the computer as Retorno.txt), the download of the
// memory and the records of the last reduction.
#include "fiscal/Entry.h"
#include "fiscal/FiscalMemory.h"
#include "platform/Platform.h"

using namespace orb::sim;
using namespace orb::sim::fiscal;

namespace {

constexpr int kFileNotWritten = -4;

enum class Range { Dates, Reductions };
enum class Output { Paper, File };

Handler MemoryReading(Range range, Output output, bool hasFlag) {
    return [range, output, hasFlag](Call& c) {
        std::vector<Reduction> records;
        std::string rangeLine;
        const bool read = range == Range::Dates ? SelectByDate(c.s, c.Text(0), c.Text(1), records, rangeLine)
                                                : SelectByNumber(c.s, c.Text(0), c.Text(1), records, rangeLine);
        if (!read) return kBadArgument;
        // The older entries always print the complete reading; the others follow the flag.
        const bool complete = !hasFlag || UpperCp1252(Trim(c.Text(2))) == "C";
        const auto lines = MemoryReadingLines(c.s, records, complete, rangeLine);
        if (output == Output::File) return WriteReturnFile(lines) ? kOk : kFileNotWritten;
        if (int rc = CheckNewDocument(c, DocKind::Reading)) return rc;
        StartDocument(c, DocKind::Reading, "LEITURA DA MEMÓRIA FISCAL");
        for (std::size_t i = 1; i < lines.size(); ++i) c.Print(lines[i]);
        EndDocument(c);
        return kOk;
    };
}

int Ranged(const char* entry, char* start, char* end, Range range, Output output) {
    return Run(entry, {In(start), In(end)}, MemoryReading(range, output, false));
}
int Ranged(const char* entry, char* start, char* end, char* flag, Range range, Output output) {
    return Run(entry, {In(start), In(end), In(flag)}, MemoryReading(range, output, true));
}

int LastReductionRecord(const char* entry, char* area, std::string (*record)(const Reduction&)) {
    return Run(entry, {Area(area)}, [record](Call& c) {
        c.Answer(0, record(LastReduction(c.s)));
        return kOk;
    });
}

}  // namespace

// Sent to the computer, not printed: no document is issued and no counter moves.
ORB_SIM_ENTRY(Bematech_FI_LeituraXSerial)(void) {
    return Run(__func__, {}, [](Call& c) {
        if (c.s.docs.couponOpen || !c.s.docs.open.empty()) return c.Refuse(0, st2::kNotExecuted);
        return WriteReturnFile(XReadingLines(c.s, DaySnapshot(c.s, c.Now()))) ? kOk : kFileNotWritten;
    });
}

ORB_SIM_ENTRY(Bematech_FI_MapaResumo)(void) { return NotYet(__func__, {}); }

ORB_SIM_ENTRY(Bematech_FI_LeituraMemoriaFiscalData)(char* start, char* end) {
    return Ranged(__func__, start, end, Range::Dates, Output::Paper);
}
ORB_SIM_ENTRY(Bematech_FI_LeituraMemoriaFiscalReducao)(char* start, char* end) {
    return Ranged(__func__, start, end, Range::Reductions, Output::Paper);
}
ORB_SIM_ENTRY(Bematech_FI_LeituraMemoriaFiscalDataMFD)(char* start, char* end, char* flag) {
    return Ranged(__func__, start, end, flag, Range::Dates, Output::Paper);
}
ORB_SIM_ENTRY(Bematech_FI_LeituraMemoriaFiscalReducaoMFD)(char* start, char* end, char* flag) {
    return Ranged(__func__, start, end, flag, Range::Reductions, Output::Paper);
}
ORB_SIM_ENTRY(Bematech_FI_LeituraMemoriaFiscalSerialDataMFD)(char* start, char* end, char* flag) {
    return Ranged(__func__, start, end, flag, Range::Dates, Output::File);
}
ORB_SIM_ENTRY(Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD)(char* start, char* end, char* flag) {
    return Ranged(__func__, start, end, flag, Range::Reductions, Output::File);
}

ORB_SIM_ENTRY(Bematech_FI_DownloadMF)(char* file) {
    return Run(__func__, {In(file)}, [](Call& c) {
        const std::string name = Trim(c.Text(0));
        if (name.empty()) return kBadArgument;
        // A bare name goes to the library's output folder, as the other files it writes.
        const bool bare = name.find_first_of("/\\") == std::string::npos;
        const std::string path = bare ? orb::platform::JoinPath(OutputFolder(), name) : orb::platform::NativePath(name);
        return orb::platform::WriteFile(path, MemoryImage(c.s)) ? kOk : kFileNotWritten;
    });
}

ORB_SIM_ENTRY(Bematech_FI_DadosUltimaReducao)(char* outRecord) {
    return LastReductionRecord(__func__, outRecord, ShortRecord);
}
ORB_SIM_ENTRY(Bematech_FI_DadosUltimaReducaoMFD)(char* outRecord) {
    return LastReductionRecord(__func__, outRecord, DetailRecord);
}
ORB_SIM_ENTRY(Bematech_FI_DadosUltimaReducaoCV0909)(char* outRecord) {
    return LastReductionRecord(__func__, outRecord, CommaRecord);
}
