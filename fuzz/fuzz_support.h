// Helpers shared by the fuzz targets: findings that say what broke, the deterministic chunking of
// a byte stream, one reused scratch path per target, and ventlink's state and window as a download
// sees them.
#pragma once

#include "common/core/message_presenter.h"
#include "common/core/status_codes.h"
#include "common/core/string_table.h"
#include "link/core/download_view.h"
#include "link/core/link_state.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace fuzz {

// A broken invariant: says which and stops, so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "INVARIANT BROKEN: %s\n", what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.toUtf8().constData());
    std::abort();
}

} // namespace fuzz

// Checks an invariant; the what and detail arguments are evaluated only when it is broken, so
// details cost nothing on the way.
#define FUZZ_REQUIRE(cond, ...)                                                                    \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::fuzz::fail(__VA_ARGS__);                                                             \
    } while (false)

namespace fuzz {

// A 64-bit hash of the input: seeds the choices a target makes, so an input always runs the same
// way.
inline uint64_t hashOf(const uint8_t *data, size_t size)
{
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < size; ++i)
        h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

// A small deterministic random source (splitmix64).
class Random
{
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 1..maximum
    int upTo(int maximum) { return 1 + int(next() % uint64_t(maximum)); }

private:
    uint64_t m_state;
};

// Ways a byte stream may arrive: all at once, byte by byte, and in random pieces.
inline std::vector<std::vector<QByteArray>> chunkings(const QByteArray &stream, uint64_t seed)
{
    std::vector<std::vector<QByteArray>> out(3);
    if (!stream.isEmpty())
        out[0].push_back(stream);
    for (char c : stream)
        out[1].push_back(QByteArray(1, c));
    Random random(seed);
    for (qsizetype at = 0; at < stream.size();) {
        const qsizetype n = random.upTo(24);
        out[2].push_back(stream.mid(at, n));
        at += n;
    }
    return out;
}

// One scratch path per target and process, reused by every input. In memory where the system
// offers it: the settings and CSV writers sync their files, which on a disk costs more than the
// whole input.
// Everything made there is removed when the process ends normally.
inline void removeScratch();

inline const QString &scratchPrefix()
{
    // Never destroyed: the clean-up at exit still needs it.
    static const QString *prefix = [] {
        const QString shm = QStringLiteral("/dev/shm");
        const QFileInfo info(shm);
        const QString folder = info.isDir() && info.isWritable() ? shm : QDir::tempPath();
        auto *p = new QString(
            folder + QStringLiteral("/vent-fuzz-%1-").arg(QCoreApplication::applicationPid()));
        std::atexit(removeScratch);
        return p;
    }();
    return *prefix;
}

inline void removeScratch()
{
    const QFileInfo at(scratchPrefix());
    if (!at.fileName().startsWith(QLatin1String("vent-fuzz-")))
        return;
    QDir dir(at.path());
    const QStringList names =
        dir.entryList({at.fileName() + QLatin1Char('*')}, QDir::Files | QDir::Dirs | QDir::Hidden);
    for (const QString &name : names) {
        const QFileInfo entry(dir.filePath(name));
        if (entry.isDir())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}

inline QString scratchPath(const QString &name)
{
    return scratchPrefix() + name;
}

// The four option flags as the options dialog leaves them (the invariant applied).
inline OptionFlags optionFlags(int enableAtm, int displayAtm, int saveAtm)
{
    OptionFlags f;
    f.enableAtm = qint16(enableAtm);
    f.displayAtm = qint16(displayAtm);
    f.saveAtm = qint16(saveAtm);
    f.applyInvariant();
    return f;
}

// ventlink's string table (compiled into linkcore).
inline const StringTable &linkTable()
{
    static StringTable table;
    if (table.isEmpty() && !table.loadFile(QStringLiteral(":/strings/ventlink_strings.tsv")))
        fail("ventlink's string table is missing");
    return table;
}

// A LinkState as ventlink's start-up leaves it.
inline std::unique_ptr<LinkState> linkState(OptionFlags flags, qint16 languageOffset)
{
    auto state = std::make_unique<LinkState>();
    state->texts = Texts(&linkTable(), languageOffset ? UiVariant::Japanese : UiVariant::English);
    state->languageOffset = languageOffset;
    if (loadLinkStrings(*state) != status::kSuccess)
        fail("ventlink's texts do not load");
    state->flags = flags;
    return state;
}

// Counts what would have been shown; answers Yes.
class CountingPresenter : public MessagePresenter
{
public:
    void notify(Icon, const QString &, const QString &text) override { messages << text; }
    qint16 askYesNo(const QString &, const QString &, bool) override { return status::kAnswerYes; }
    qint16 askYesNoCancel(const QString &, const QString &) override { return status::kCancel; }
    QStringList messages;
};

// The main window as a download sees it.
class FakeDownloadView : public DownloadView
{
public:
    bool reselectDrive() override { return true; }
    void setDownloading(bool d) override { downloading = d; }
    void setStatusLine(const QString &) override {}
    QString fileNameText() const override { return fileName; }
    void setFileNameText(const QString &t) override { fileName = t; }
    QString folderPath() const override { return folder; }
    QString chosenInstrument() const override { return QStringLiteral("0012345"); }
    void sFileList() override {}

    bool downloading = false;
    QString fileName;
    QString folder;
};

} // namespace fuzz
