#include "acq/core/status_panels.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "common/core/number_format.h"

namespace {

template <typename Array>
QString at(const Array &texts, int index)
{
    return index >= 0 && index < int(texts.size()) ? texts[size_t(index)] : QString();
}

} // namespace

QString StatusPanels::programStatus(const AppState &state)
{
    return at(state.programStatusTexts, state.idle).trimmed();
}

QString StatusPanels::dataStatus(const AppState &state)
{
    return at(state.dataStatusTexts, state.dataState);
}

QString StatusPanels::sampleType(const AppState &state)
{
    return at(state.sampleTypeNames, state.sampleType);
}

QString StatusPanels::port(const AppState &state)
{
    // In simulation no instrument is used: the panel says so.
    if (state.simulation == 1)
        return state.localText(acqid::kSimulation);
    if (state.usbEnable < 1)
        return state.texts.value(acqid::kFixedCom) + QString::number(state.portNumber);
    return state.usbSerialText;
}

QString StatusPanels::baudRate(const AppState &state)
{
    if (state.usbEnable < 1)
        return QString::number(state.baudRate) + state.texts.value(acqid::kFixedBps);
    return state.texts.value(acqid::kFixedUsb);
}

StatusPanels::MeasureParam StatusPanels::measureParam(const AppState &state, qint32 count,
                                                      const Tips &tips)
{
    MeasureParam p;
    const qint64 passed = qint64(count) + qint64(state.receivedCount);
    p.samplingTime = NumberFormat::format(state.sampleTime, QStringLiteral("0.0"),
                                          NumberFormat::Precision::Single)
                   + state.texts.value(acqid::kFixedSec);
    p.samplingNumber = QString::number(state.sampleCount) + state.texts.value(acqid::kFixedTimes);
    if (state.idle != 0) {
        p.samplingTimeTip = tips.samplingTime;
        p.samplingNumberTip = tips.samplingNumberIdle;
        return p;
    }
    if (passed >= 1) {
        p.samplingNumber = QString::number(passed) + state.texts.value(acqid::kFixedProgressSeparator)
                         + QString::number(state.sampleCount);
        p.samplingNumberTip = tips.samplingNumberRunning;
    } else {
        p.samplingNumberTip = tips.samplingNumberIdle;
    }
    return p;
}

CommandStates::Table CommandStates::forState(qint16 idle, qint32 dataState, bool starting,
                                             bool openedRun)
{
    using S = State;
    // Export is on wherever a run can be on display; the main window turns it off while the
    // charts hold no sample.
    //                New     Save    Exit    Start   Stop    Graph   Status  Tools   About   Export  Open
    const Table running = {S::Off, S::Off, S::Off, S::Off, S::On, S::On, S::On, S::On, S::Kept, S::On, S::Off};
    const Table noData = {S::On, S::Off, S::On, S::On, S::Off, S::On, S::On, S::On, S::On, S::On, S::On};
    const Table newData = {S::On, S::On, S::On, S::On, S::Off, S::On, S::On, S::On, S::On, S::On, S::On};
    Table kept;
    kept.fill(S::Kept);

    if (starting || idle == 0)
        return running;
    if (idle != 1)
        return kept;
    switch (dataState) {
    case 1:
        return noData;
    case 2:
        return openedRun ? newData : noData;
    case 3:
        return newData;
    default:
        return kept;
    }
}
