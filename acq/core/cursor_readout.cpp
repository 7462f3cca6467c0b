#include "acq/core/cursor_readout.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "common/core/number_format.h"

namespace {

// A value with its unit; without one for a text that is not a number ("Err").
QString withUnit(const QString &value, const QString *names, size_t size, int index)
{
    if (!NumberFormat::parse(value) || index < 0 || size_t(index) >= size)
        return value.trimmed();
    return value.trimmed() + QLatin1Char(' ') + names[index];
}

} // namespace

QString CursorReadout::text(const AppState &state, int sample, const QString &time,
                            const QString &velocity, const QString &flow)
{
    if (state.idle != 1 || state.dataState == 1 || sample < 1 || time.trimmed().isEmpty())
        return QString();
    return state.localText(acqid::kCursorReadout)
        .arg(QString::number(sample), time.trimmed(),
             withUnit(velocity, state.velocityUnitNames.data(), state.velocityUnitNames.size(),
                      state.velocityUnit),
             withUnit(flow, state.flowUnitNames.data(), state.flowUnitNames.size(), state.flowUnit));
}
