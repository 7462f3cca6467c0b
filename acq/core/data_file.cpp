#include "acq/core/data_file.h"

#include "acq/core/app_state.h"
#include "acq/core/data_file_sync.h"
#include "acq/core/sample_table.h"
#include "acq/core/sample_time_stamp.h"
#include "common/core/io_failure.h"
#include "common/core/number_format.h"
#include "common/core/status_codes.h"

#include <QFile>

#include <cerrno>
#include <cstring>

namespace {

constexpr qint16 kFileError = 14;
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// Indexes into AppState::fileHeaderTexts (string 6001 + index).
enum HeaderText {
    kTitle = 0,            // [Ventolux Measuring Data]
    kSamplingTime = 1,     // Sampling Time:
    kSec = 2,              // Sec
    kSamplingNumber = 3,   // Sampling Number:
    kDateTime = 4,         // Date & Time
    kShape = 5,            // Shape
    kWidth = 7,
    kHeight = 8,
    kDiameter = 10,
    kArea = 11,
    kParameters = 13,      // The Measuring Parameter
    kDuctType = 14,
    kMeasuringData = 15,
    kDuctSizeUnit = 16,    // Duct size unit :
    kVelocityData = 17,
    kFlowData = 18,
    kIntervalTime = 19,    // Interval Time :
    kAtmosphere = 20,
    kCorrectionFlag = 21,
};

template <size_t N>
QString nameAt(const std::array<QString, N> &names, int index)
{
    return index >= 0 && size_t(index) < N ? names[size_t(index)] : QString();
}

} // namespace

bool DataFile::atmosphereSaved(const AppState &state)
{
    return state.atmEnable >= 1 && state.atmSave >= 1;
}

QString DataFile::ductLine(const AppState &state)
{
    const QString comma = QStringLiteral(",");
    if (state.ductShape == 1) {
        return QStringLiteral(" ,") + state.ductShapeNames[1] + QStringLiteral(", , ,")
             + NumberFormat::plain(state.ductDiameter) + comma + NumberFormat::plain(state.ductArea);
    }
    return QStringLiteral(" ,") + state.ductShapeNames[0] + comma
         + NumberFormat::plain(state.ductWidth) + comma + NumberFormat::plain(state.ductHeight)
         + QStringLiteral(",,") + NumberFormat::plain(state.ductArea);
}

QByteArray DataFile::header(const AppState &state)
{
    const auto &t = state.fileHeaderTexts;
    const QString comma = QStringLiteral(",");
    QStringList lines;
    lines << t[kTitle] << t[kParameters];
    const QString time =
        NumberFormat::format(state.sampleTime, QStringLiteral("0.0"), NumberFormat::Precision::Single);
    lines << (state.sampleType == 1 ? t[kSamplingTime] : t[kIntervalTime]) + time + t[kSec];
    lines << t[kSamplingNumber] + QString::number(state.sampleCount);
    lines << t[kDuctSizeUnit] + nameAt(state.ductUnitNames, state.ductUnit);
    lines << QStringList{t[kDuctType], t[kShape], t[kWidth], t[kHeight], t[kDiameter], t[kArea]}
                 .join(comma);
    lines << ductLine(state);
    lines << t[kMeasuringData];
    QString captions = t[kDateTime] + comma + t[kVelocityData] + QLatin1Char('(')
                     + nameAt(state.velocityUnitNames, state.velocityUnit) + QStringLiteral("),")
                     + t[kFlowData] + QLatin1Char('(') + nameAt(state.flowUnitNames, state.flowUnit)
                     + QStringLiteral("),");
    if (atmosphereSaved(state))
        captions += t[kAtmosphere] + comma + t[kCorrectionFlag] + comma;
    lines << captions;

    QByteArray out;
    for (const QString &line : lines)
        out += line.toUtf8() + kLineEnd;
    return out;
}

QByteArray DataFile::sampleLines(const AppState &state, const SampleTable &table, qint32 count,
                                 qint32 firstIndex, double start)
{
    static const QString pressurePattern = QStringLiteral("####");
    const bool atmosphere = atmosphereSaved(state);
    QByteArray out;
    out.reserve(count * (atmosphere ? 48 : 40));
    QString line;
    for (qint32 k = 1; k <= count; ++k) {
        line.clear();
        line += QLatin1Char(' ');
        line += fSampleTimeStamp(state.sampleTime, firstIndex + k - 1, start);
        line += QLatin1String(" ,");
        line += table.cell(k, SampleTable::kVelocity);
        line += QLatin1Char(',');
        line += table.cell(k, SampleTable::kFlow);
        if (atmosphere) {
            line += QLatin1Char(',');
            line += NumberFormat::formatText(table.cell(k, SampleTable::kPressure), pressurePattern);
            line += QLatin1Char(',');
            line += table.cell(k, SampleTable::kFlag);
        }
        out += line.toUtf8();
        out += kLineEnd;
    }
    return out;
}

bool fSaveDataVXDFile(AppState &state, const SampleTable &table, const QString &path,
                      qint32 count, double start, DataFileSync *sync, IoFailure *failure)
{
    state.statusCode = status::kSuccess;
    const bool first = state.receivedCount < 1;
    QByteArray bytes;
    if (first)
        bytes = DataFile::header(state);
    bytes += DataFile::sampleLines(state, table, count, state.receivedCount + 1, start);

    // Unbuffered: the batch goes to the system in one write, so it is in the file whole or not
    // at all when the program dies.
    QFile file(path);
    const QIODevice::OpenMode mode = first
        ? QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered
        : QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly | QIODevice::Unbuffered;
    bool ok = file.open(mode);
    const qint64 sizeBefore = ok ? file.size() : 0;
    if (ok)
        ok = file.write(bytes) == bytes.size();
    if (ok)
        ok = file.flush();
    if (!ok && failure)
        *failure = IoFailure::forFile(path, file);
    // A write cut short (a full disk) would leave half a line: the batch is taken back out, so
    // the file keeps whole lines and every batch it holds is whole.
    if (!ok && file.isOpen())
        file.resize(sizeBefore);
    if (ok && sync) {
        if (first)
            sync->restart();
        // The lines are whole in the file either way: a failed sync keeps them.
        ok = sync->batchWritten(file.handle());
        if (!ok && failure) {
            const int code = errno;
            failure->target = path;
            failure->systemText = QString::fromLocal8Bit(std::strerror(code));
            failure->reason = IoFailure::fromErrno(code);
        }
    }
    file.close();
    if (ok && file.error() != QFileDevice::NoError && failure)
        *failure = IoFailure::forFile(path, file);
    ok = ok && file.error() == QFileDevice::NoError;
    if (!ok)
        state.statusCode = kFileError;
    return ok;
}
