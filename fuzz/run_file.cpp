// ventacq's measurement files read back (File > Open): the input is the file, parsed by
// RunFileReader; an accepted run, written by the data file's writer with its own parameters,
// reads back as the same run (docs/fuzzing.md lists the rules).
#include "acq/core/app_state.h"
#include "acq/core/data_file.h"
#include "acq/core/run_file_reader.h"
#include "acq/core/run_opener.h"
#include "fuzz/fuzz_support.h"

namespace {

// The run as the data file's writer makes it (English texts).
QByteArray written(AppState &state, const RunFile &run)
{
    RunOpener::applyParameters(state, run);
    state.atmEnable = state.atmSave = run.atmosphere ? 1 : 0;
    SampleTable t;
    run.fill(t, 1, run.count);
    return DataFile::header(state) + DataFile::sampleLines(state, t, run.count, 1, run.startTime);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static StringTable table;
    static AppState state;
    if (table.isEmpty()) {
        if (!table.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv")))
            fuzz::fail("ventacq's string table is missing");
        state.texts = Texts(&table, UiVariant::English);
        fLoadCommonStrings(state);
    }
    const RunFileReader reader(table);
    RunFile run;
    run.count = -1;
    const RunFileReader::Result result =
        reader.parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &run);
    if (!result.ok()) {
        FUZZ_REQUIRE(run.count == -1, "a refused file gives no run");
        FUZZ_REQUIRE((result.problem == RunFileReader::Problem::DamagedLine) == (result.line > 9),
                     "a damaged line is named, after the nine header lines");
        return 0;
    }
    FUZZ_REQUIRE(run.count >= 1 && run.sampleTime > 0, "an accepted run has samples and an interval");
    // Written and read back, the run is the same: written again, the same bytes (every parameter,
    // the start and the samples are in them; the pressure is written in whole hPa both times).
    const QByteArray once = written(state, run);
    RunFile back;
    FUZZ_REQUIRE(reader.parse(once, &back).ok(), "written, the run reads back", QString::fromUtf8(once.left(400)));
    FUZZ_REQUIRE(written(state, back) == once && back.count == run.count, "read back, the same run",
                 QString::fromUtf8(once.left(400)));
    return 0;
}
