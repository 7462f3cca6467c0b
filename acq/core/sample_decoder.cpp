#include "acq/core/sample_decoder.h"

#include "acq/core/app_state.h"
#include "acq/core/sample_table.h"
#include "acq/driver/measurement_driver.h"
#include "common/core/field_split.h"
#include "common/core/status_codes.h"

namespace {
// Values of the decoded table, not texts of the interface: the tables, charts and file read them.
const QString kZero = QStringLiteral("0.0");
const QString kNoFlag = QStringLiteral("0");
const QString kSensorError = QStringLiteral("Err");
const QString kNoAtmosphereEnglish = QStringLiteral("N");
const QString kNoAtmosphereLocalized = QStringLiteral("-");
} // namespace

void decodeSampleText(const AppState &state, const QString &text, SampleTable &table, int row)
{
    for (int column : {2, 3, 4, 6, 7, 8})
        table.set(row, column, kZero);

    const FieldSplit fields(text, QLatin1Char(','));
    const int k = fields.count();
    if (k < 4) {
        table.set(row, SampleTable::kPressure, kZero);
        table.set(row, SampleTable::kFlag, kNoFlag);
    } else {
        QString pressure = fields.field(3).trimmed();
        if (pressure.size() > 1)
            pressure.insert(pressure.size() - 1, QLatin1Char('.'));
        table.set(row, SampleTable::kPressure, pressure);
        table.set(row, SampleTable::kFlag, fields.field(4).trimmed());
    }

    if (state.atmEnable >= 1 && state.atmDisplay >= 1) {
        const QString flag = table.cell(row, SampleTable::kFlag);
        QString shown;
        if (flag == QLatin1String("1") || flag == QLatin1String("2"))
            shown = table.cell(row, SampleTable::kPressure);
        else if (flag == QLatin1String("3"))
            shown = kSensorError;
        else
            shown = state.languageOffset != 0 ? kNoAtmosphereLocalized : kNoAtmosphereEnglish;
        table.set(row, SampleTable::kAtmosphereText, shown);
    }

    if (k < 2) {
        table.set(row, SampleTable::kVelocity, kZero);
        table.set(row, SampleTable::kFlow, kZero);
    } else {
        table.set(row, SampleTable::kVelocity, fields.field(1));
        table.set(row, SampleTable::kFlow, fields.field(2));
    }
}

qint16 fmGetData(AppState &state, MeasurementDriver &driver, SampleTable &table, qint32 count)
{
    for (qint32 i = 1; i <= count; ++i) {
        state.statusCode = driver.errstat();
        if (state.statusCode != status::kSuccess)
            return state.statusCode;
        decodeSampleText(state, driver.Inputs(), table, int(i));
    }
    return status::kSuccess;
}
