#pragma once

#include "acq/core/sample_table.h"
#include "common/core/io_failure.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class StringTable;

// A measurement read back from a file in the data file's format (the data file itself, or a copy
// that "Save" wrote): the run's parameters from the header and its samples.
struct RunFile
{
    qint16 sampleType = 1;   // 1 average ("Sampling Time:"), 0 instant ("Interval Time :")
    float sampleTime = 1.0f;
    qint32 sampleCount = 0;  // the count asked for; a stopped run holds fewer samples
    qint16 ductUnit = 0;
    qint16 ductShape = 0;    // 0 rectangle (width, height), 1 circle (diameter)
    double ductWidth = 0;
    double ductHeight = 0;
    double ductDiameter = 0;
    double ductArea = 0;
    qint16 velocityUnit = 0;
    qint16 flowUnit = 0;
    bool atmosphere = false; // the pressure and flag columns are there
    double startTime = 0;    // day number of the first sample
    qint32 count = 0;        // samples

    // Rows 1..n of `table` (re-created) from samples first..first + n - 1 (from 1), as the
    // decoding of a poll fills them: velocity and flow as written, the pressure in whole hPa as
    // written (empty for none) and the flag; "0.0" and "0" without the atmosphere columns.
    void fill(SampleTable &table, qint32 first, qint32 n) const;

    // The checked sample lines, views into the file's text (kept here: a copy shares it).
    QString text;
    std::vector<QStringView> lines;
};

// Reads a measurement file. The header's texts may be those of any of the three languages (both
// blocks of the string table), and the file UTF-8 or, as earlier releases wrote it, in the
// Japanese, Chinese or Western code page of the system. Every sample line must have the form
// the run writes: its time stamp the one the run's start and interval give (so a lost, doubled
// or garbled line is found), the velocity and flow texts, and the atmosphere fields when the
// header announces them. Empty lines may only end the file.
class RunFileReader
{
public:
    enum class Problem { None, Unreadable, TooLarge, NotARun, NoSamples, DamagedLine };
    struct Result
    {
        Problem problem = Problem::None;
        int line = 0;      // DamagedLine: the line of the file, from 1
        IoFailure failure; // Unreadable: the file and the system's reason
        bool ok() const { return problem == Problem::None; }
    };
    // Far beyond the largest run (65,500 samples make about 3 MB).
    static constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;

    explicit RunFileReader(const StringTable &table);

    // `run` is filled only when the result is ok.
    Result readFile(const QString &path, RunFile *run) const;
    Result parse(const QByteArray &bytes, RunFile *run) const;
    // The file's text: UTF-8 (a byte-order mark dropped) when it is valid UTF-8, else the first
    // of the code pages of earlier releases in which the first line is a measurement's title.
    QString decode(const QByteArray &bytes) const;

private:
    enum Header {
        kTitle = 0, kSamplingTime = 1, kSec = 2, kSamplingNumber = 3, kDateTime = 4, kShape = 5,
        kWidth = 7, kHeight = 8, kDiameter = 10, kArea = 11, kParameters = 13, kDuctType = 14,
        kMeasuringData = 15, kDuctSizeUnit = 16, kVelocityData = 17, kFlowData = 18,
        kIntervalTime = 19, kAtmosphere = 20, kCorrectionFlag = 21, kHeaderTexts = 22
    };
    bool parseHeader(const QStringList &lines, RunFile *run) const;

    std::array<QStringList, kHeaderTexts> m_header; // every variant of both blocks
    std::array<QStringList, 2> m_velocityUnits;
    std::array<QStringList, 4> m_flowUnits;
    std::array<QStringList, 3> m_ductUnits;
    std::array<QStringList, 2> m_shapes;
};
