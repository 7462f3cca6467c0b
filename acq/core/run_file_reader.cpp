#include "acq/core/run_file_reader.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/sample_time_stamp.h"
#include "common/core/date_days.h"
#include "common/core/number_format.h"
#include "common/core/string_table.h"

#include <QFile>
#include <QStringDecoder>

#include <cmath>
#include <limits>

namespace {

constexpr int kLocalized = 10000;
constexpr int kHeaderLines = 9;
constexpr UiVariant kVariants[] = {UiVariant::English, UiVariant::Japanese, UiVariant::Chinese};
// What earlier releases wrote: the system's code page of a Japanese, Chinese or Western system.
constexpr const char *kLegacyCodePages[] = {"windows-31j", "GB18030", "windows-1252"};

// Every text of `id` in both blocks and the three variants.
QStringList variantsOf(const StringTable &table, int id)
{
    QStringList texts;
    for (int block : {id, id + kLocalized}) {
        for (UiVariant v : kVariants) {
            const QString t = table.text(block, v).value_or(QString());
            if (!t.isEmpty() && !texts.contains(t))
                texts << t;
        }
    }
    return texts;
}

bool isOneOf(QStringView text, const QStringList &candidates)
{
    const QStringView trimmed = text.trimmed();
    for (const QString &c : candidates) {
        if (trimmed == QStringView(c).trimmed())
            return true;
    }
    return false;
}

// The rest of `line` after the longest candidate it starts with; false when none.
bool afterPrefix(QStringView line, const QStringList &candidates, QStringView *rest, int *which = nullptr)
{
    qsizetype best = -1;
    for (int i = 0; i < candidates.size(); ++i) {
        const QString &c = candidates.at(i);
        if (c.size() > best && line.startsWith(c)) {
            best = c.size();
            if (which)
                *which = i;
        }
    }
    if (best < 0)
        return false;
    *rest = line.mid(best);
    return true;
}

// The index of the name list that holds `name` (any variant), or -1.
template <size_t N>
int indexOf(QStringView name, const std::array<QStringList, N> &names)
{
    for (size_t i = 0; i < N; ++i) {
        if (isOneOf(name, names[i]))
            return int(i);
    }
    return -1;
}

// "<caption>(<unit>)": the unit's index, or -1.
template <size_t N>
int unitOf(QStringView field, const QStringList &captions, const std::array<QStringList, N> &units)
{
    QStringView rest;
    if (!afterPrefix(field, captions, &rest) || !rest.startsWith(u'(') || !rest.endsWith(u')'))
        return -1;
    return indexOf(rest.mid(1, rest.size() - 2), units);
}

bool isDigits(QStringView text)
{
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return !text.isEmpty();
}

// The start of a run from the first sample's stamp "yyyy-MM-dd HH:mm:ss" (a ":000" after it is
// checked with the rest of the stamp); false when it is no date and time.
bool startOf(QStringView stamp, double *start)
{
    if (stamp.size() < 19 || stamp.at(4) != u'-' || stamp.at(7) != u'-' || stamp.at(10) != u' '
        || stamp.at(13) != u':' || stamp.at(16) != u':')
        return false;
    const QStringView parts[] = {stamp.mid(0, 4), stamp.mid(5, 2), stamp.mid(8, 2),
                                 stamp.mid(11, 2), stamp.mid(14, 2), stamp.mid(17, 2)};
    int v[6];
    for (int i = 0; i < 6; ++i) {
        if (!isDigits(parts[i]))
            return false;
        v[i] = parts[i].toInt();
    }
    const QDate date(v[0], v[1], v[2]);
    const QTime time(v[3], v[4], v[5]);
    if (!date.isValid() || !time.isValid())
        return false;
    *start = DateDays::fromDate(date, time);
    return true;
}

QString withoutCr(QStringView line)
{
    return (line.endsWith(u'\r') ? line.chopped(1) : line).toString();
}

} // namespace

RunFileReader::RunFileReader(const StringTable &table)
{
    for (int i = 0; i < kHeaderTexts; ++i)
        m_header[size_t(i)] = variantsOf(table, acqid::kFileHeaderFirst + i);
    for (int i = 0; i < 2; ++i)
        m_velocityUnits[size_t(i)] = variantsOf(table, acqid::kVelocityUnitFirst + i);
    for (int i = 0; i < 4; ++i)
        m_flowUnits[size_t(i)] = variantsOf(table, acqid::kFlowUnitFirst + i);
    for (int i = 0; i < 3; ++i)
        m_ductUnits[size_t(i)] = variantsOf(table, acqid::kDuctUnitFirst + i);
    // The duct line names the shape as the parameter dialog does; the header's own shape texts
    // are the same words, taken too.
    m_shapes[0] = variantsOf(table, acqid::kShapeRectangle) + variantsOf(table, acqid::kFileHeaderFirst + 6);
    m_shapes[1] = variantsOf(table, acqid::kShapeCircle) + variantsOf(table, acqid::kFileHeaderFirst + 9);
}

QString RunFileReader::decode(const QByteArray &bytes) const
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes); // drops a byte-order mark
    if (!utf8.hasError())
        return text;
    for (const char *name : kLegacyCodePages) {
        QStringDecoder legacy(name);
        if (!legacy.isValid())
            continue;
        const QString candidate = legacy.decode(bytes);
        const qsizetype end = candidate.indexOf(u'\n');
        if (!legacy.hasError()
            && isOneOf(QStringView(candidate).left(end < 0 ? candidate.size() : end), m_header[kTitle]))
            return candidate;
    }
    return text;
}

RunFileReader::Result RunFileReader::readFile(const QString &path, RunFile *run) const
{
    Result result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = Problem::Unreadable;
        result.failure = IoFailure::forFile(path, file);
        return result;
    }
    if (file.size() > kMaxFileBytes) {
        result.problem = Problem::TooLarge;
        return result;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.problem = Problem::Unreadable;
        result.failure = IoFailure::forFile(path, file);
        return result;
    }
    if (bytes.size() > kMaxFileBytes) { // grew while it was read
        result.problem = Problem::TooLarge;
        return result;
    }
    return parse(bytes, run);
}

bool RunFileReader::parseHeader(const QStringList &l, RunFile *run) const
{
    const auto &h = m_header;
    if (l.size() < kHeaderLines || !isOneOf(l[0], h[kTitle]) || !isOneOf(l[1], h[kParameters])
        || !isOneOf(l[7], h[kMeasuringData]))
        return false;

    // Line 3: "Sampling Time:1.0Sec" (average) or "Interval Time :0.5Sec" (instant).
    QStringView rest;
    int which = -1;
    if (!afterPrefix(l[2], h[kSamplingTime] + h[kIntervalTime], &rest, &which))
        return false;
    run->sampleType = which < h[kSamplingTime].size() ? 1 : 0;
    bool unitFound = false;
    for (const QString &sec : h[kSec]) {
        if (rest.endsWith(sec)) {
            rest.chop(sec.size());
            unitFound = true;
            break;
        }
    }
    // Written with one decimal: the time stamps follow the interval as written.
    const std::optional<float> interval = unitFound ? NumberFormat::parseSingle(rest) : std::nullopt;
    if (!interval || !(*interval > 0.0f) || *interval > 86400.0f
        || rest.trimmed() != NumberFormat::format(*interval, QStringLiteral("0.0"), NumberFormat::Precision::Single))
        return false;
    run->sampleTime = *interval;

    // Lines 4 and 5: "Sampling Number:65500", "Duct size unit :mm".
    std::optional<qint32> count;
    if (afterPrefix(l[3], h[kSamplingNumber], &rest))
        count = NumberFormat::parseInt32(rest);
    if (!count || *count < 0)
        return false;
    run->sampleCount = *count;
    if (!afterPrefix(l[4], h[kDuctSizeUnit], &rest) || (run->ductUnit = qint16(indexOf(rest, m_ductUnits))) < 0)
        return false;

    // Lines 6 and 7: the duct captions and the duct.
    const QList<QStringView> captions = QStringView(l[5]).split(u',');
    const int captionTexts[] = {kDuctType, kShape, kWidth, kHeight, kDiameter, kArea};
    if (captions.size() != 6)
        return false;
    for (int i = 0; i < 6; ++i) {
        if (!isOneOf(captions[i], h[size_t(captionTexts[i])]))
            return false;
    }
    const QList<QStringView> duct = QStringView(l[6]).split(u',');
    if (duct.size() != 6 || !duct[0].trimmed().isEmpty())
        return false;
    run->ductShape = qint16(indexOf(duct[1], m_shapes));
    if (run->ductShape < 0 || (run->ductShape == 1 && !duct[2].trimmed().isEmpty()))
        return false;
    // Rectangle: width, height, area; circle: diameter, area.
    const std::array<QStringView, 3> sizes = run->ductShape == 1
        ? std::array<QStringView, 3>{duct[4], duct[5], duct[5]}
        : std::array<QStringView, 3>{duct[2], duct[3], duct[5]};
    double values[3];
    for (int i = 0; i < 3; ++i) {
        const QStringView text = sizes[size_t(i)];
        const std::optional<double> v = NumberFormat::parse(text);
        if (!v || *v < 0)
            return false;
        values[i] = *v;
    }
    if (run->ductShape == 1) {
        run->ductDiameter = values[0];
    } else {
        run->ductWidth = values[0];
        run->ductHeight = values[1];
    }
    run->ductArea = values[2];

    // Line 9: "Date & Time,Velocity Data(m/s),Flow rate Data(m3/h)," and maybe the atmosphere.
    const QList<QStringView> columns = QStringView(l[8]).split(u',');
    if ((columns.size() != 4 && columns.size() != 6) || !columns.last().trimmed().isEmpty()
        || !isOneOf(columns[0], h[kDateTime]))
        return false;
    run->velocityUnit = qint16(unitOf(columns[1], h[kVelocityData], m_velocityUnits));
    run->flowUnit = qint16(unitOf(columns[2], h[kFlowData], m_flowUnits));
    run->atmosphere = columns.size() == 6;
    if (run->velocityUnit < 0 || run->flowUnit < 0)
        return false;
    return !run->atmosphere
        || (isOneOf(columns[3], h[kAtmosphere]) && isOneOf(columns[4], h[kCorrectionFlag]));
}

RunFileReader::Result RunFileReader::parse(const QByteArray &bytes, RunFile *out) const
{
    Result result;
    RunFile run;
    run.text = decode(bytes);
    const QStringView all(run.text);

    // The header: the first nine lines.
    QStringList header;
    qsizetype pos = 0;
    while (header.size() < kHeaderLines && pos < all.size()) {
        qsizetype end = all.indexOf(u'\n', pos);
        if (end < 0)
            end = all.size();
        header << withoutCr(all.mid(pos, end - pos));
        pos = end + 1;
    }
    if (!parseHeader(header, &run)) {
        result.problem = Problem::NotARun;
        return result;
    }

    // The samples: " <stamp> ,velocity,flow" and ",pressure,flag" with the atmosphere.
    std::vector<QStringView> &lines = run.lines;
    lines.reserve(size_t(all.size() / 24 + 1));
    for (qsizetype p = pos; p < all.size();) {
        qsizetype end = all.indexOf(u'\n', p);
        if (end < 0)
            end = all.size();
        const QStringView line = all.mid(p, end - p);
        lines.push_back(line.endsWith(u'\r') ? line.chopped(1) : line);
        p = end + 1;
    }
    // Empty lines may end the file (an editor's last line end); a sample line after one is damaged.
    while (!lines.empty() && lines.back().trimmed().isEmpty())
        lines.pop_back();
    if (lines.empty()) {
        result.problem = Problem::NoSamples;
        return result;
    }
    if (lines.size() > size_t(std::numeric_limits<qint32>::max() / 2)) {
        result.problem = Problem::TooLarge;
        return result;
    }
    run.count = qint32(lines.size());
    const qsizetype fields = run.atmosphere ? 5 : 3;
    for (qint32 k = 1; k <= run.count; ++k) {
        const QStringView line = lines[size_t(k - 1)];
        const qsizetype stampEnd = line.indexOf(u',');
        bool ok = line.count(u',') == fields - 1 && stampEnd >= 21 && line.startsWith(u' ')
               && line.at(stampEnd - 1) == u' ';
        const QStringView stamp = ok ? line.mid(1, stampEnd - 2) : QStringView();
        if (ok && k == 1)
            ok = startOf(stamp, &run.startTime);
        // The stamp the run writes for sample k: a line lost, doubled or garbled shows here.
        if (ok)
            ok = stamp == fSampleTimeStamp(run.sampleTime, k, run.startTime);
        if (!ok) {
            result.problem = Problem::DamagedLine;
            result.line = kHeaderLines + k;
            return result;
        }
    }
    *out = std::move(run);
    return result;
}

void RunFile::fill(SampleTable &table, qint32 first, qint32 n) const
{
    static const QString noPressure = QStringLiteral("0.0");
    static const QString noFlag = QStringLiteral("0");
    table.reset(n);
    for (qint32 i = 1; i <= n; ++i) {
        const size_t index = size_t(first + i - 2);
        if (index >= lines.size())
            break;
        const QList<QStringView> f = lines[index].split(u',');
        if (f.size() < 3)
            continue;
        table.set(i, SampleTable::kVelocity, f[1].toString());
        table.set(i, SampleTable::kFlow, f[2].toString());
        const bool atm = atmosphere && f.size() >= 5;
        table.set(i, SampleTable::kPressure, atm ? f[3].toString() : noPressure);
        table.set(i, SampleTable::kFlag, atm ? f[4].trimmed().toString() : noFlag);
    }
}
