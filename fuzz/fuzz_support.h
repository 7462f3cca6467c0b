// Helpers shared by the fuzz targets: findings that say what broke, the chunkings of a byte stream,
// a scratch folder, the texts of the pressure columns, and ventlink as a download sees it.
#pragma once

#include "common/core/number_format.h"
#include "common/core/status_codes.h"
#include "link/core/link_state.h"
#include "link/core/link_string_ids.h"
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"
#include "tests/support/recording_presenter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace fuzz {

// A broken invariant: says which and stops, so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "INVARIANT BROKEN: %s\n  %s\n", what, qPrintable(detail));
    std::abort();
}

// Checks an invariant; the what and detail arguments are evaluated only when it is broken.
#define FUZZ_REQUIRE(cond, ...) do { if (!(cond)) ::fuzz::fail(__VA_ARGS__); } while (false)

// Choices seeded by the input, so an input always runs the same way.
inline std::mt19937_64 randomFor(const QByteArray &input)
{
    return std::mt19937_64(qHashBits(input.constData(), size_t(input.size()), 0));
}

// Ways a byte stream may arrive: all at once, byte by byte, and in random pieces of 1 to 24 bytes.
inline std::vector<std::vector<QByteArray>> chunkings(const QByteArray &stream)
{
    std::vector<std::vector<QByteArray>> out{{stream}, {}, {}};
    for (char c : stream)
        out[1].push_back(QByteArray(1, c));
    auto random = randomFor(stream);
    for (qsizetype at = 0; at < stream.size(); at += out[2].back().size())
        out[2].push_back(stream.mid(at, qsizetype(1 + random() % 24)));
    return out;
}

// A file in one scratch folder per process, removed at exit. In memory where the system offers it:
// the settings and CSV writers sync their files, which on a disk costs more than the whole input.
inline QString scratchPath(const QString &name)
{
    static QTemporaryDir dir(
        (QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath())
        + QStringLiteral("/vent-fuzz-XXXXXX"));
    return dir.filePath(name);
}

// "123" -> "12.3": a pressure in tenths with a "." before its last digit.
inline QString tenthsText(const QString &digits)
{
    return digits.size() > 1 ? digits.left(digits.size() - 1) + QLatin1Char('.') + digits.right(1) : digits;
}

// "####": a number becomes a whole number within a half of it; other text passes unchanged.
inline void requireWhole(const QString &in, const QString &out)
{
    const std::optional<double> v = NumberFormat::parse(in);
    const QString where = in + QStringLiteral(" -> ") + out;
    if (!v) {
        FUZZ_REQUIRE(out == in, "#### passes text that is not a number", where);
        return;
    }
    for (qsizetype i = 0; i < out.size(); ++i)
        FUZZ_REQUIRE(out.at(i).isDigit() || (i == 0 && out.at(i) == QLatin1Char('-')),
                     "#### writes a whole number", where);
    const double back = out.isEmpty() ? 0.0 : NumberFormat::parse(out).value_or(NAN);
    FUZZ_REQUIRE(std::fabs(back - *v) <= 0.5 + std::fabs(*v) * 1e-14, "#### rounds to the nearest whole", where);
}

// ventlink's options: Enable, Display and Save ATM, and the language offset; four settings that
// cover every column layout and both markers.
struct LinkOptions
{
    int enableAtm, displayAtm, saveAtm;
    qint16 languageOffset;
};
inline const LinkOptions kLinkOptions[] = {{0, 0, 0, 0}, {1, 1, 1, 0}, {1, 0, 1, 10000}, {1, 1, 0, 10000}};

// ventlink's state (start-up done, the options as the options dialog leaves them), in-memory grid
// and record decoder, as the window leaves them at load; messages are recorded, questions answered
// Yes.
struct LinkRig
{
    explicit LinkRig(const LinkOptions &o) : state(std::make_unique<LinkState>()), decoder(*state, grid)
    {
        static StringTable table;
        if (table.isEmpty() && !table.loadFile(QStringLiteral(":/strings/ventlink_strings.tsv")))
            fail("ventlink's string table is missing");
        state->texts = Texts(&table, o.languageOffset ? UiVariant::Japanese : UiVariant::English);
        state->languageOffset = o.languageOffset;
        if (loadLinkStrings(*state) != status::kSuccess)
            fail("ventlink's texts do not load");
        state->flags.enableAtm = qint16(o.enableAtm);
        state->flags.displayAtm = qint16(o.displayAtm);
        state->flags.saveAtm = qint16(o.saveAtm);
        state->flags.applyInvariant();
        state->presenter = &presenter;
        decoder.smChangeTitle(state->texts.value(linkid::kFixedType));
    }
    std::unique_ptr<LinkState> state;
    MemoryGrid grid;
    RecordDecoder decoder;
    venttest::RecordingPresenter presenter;
};

} // namespace fuzz
