#include "acq/core/app_state.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/acq_settings.h"
#include "common/core/message_presenter.h"
#include "common/core/number_format.h"
#include "common/core/range_message.h"
#include "common/core/status_codes.h"

void AppState::setOptionFlags(const OptionFlags &f)
{
    atmDisplay = f.displayAtm;
    atmSave = f.saveAtm;
    atmEnable = f.enableAtm;
    usbEnable = f.enableUsb;
}

QString makeVersionText(int major, int minor, int revision)
{
    return QStringLiteral("Ver.") + QString::number(major) + QLatin1Char('.')
         + NumberFormat::format(minor, QStringLiteral("0"))
         + NumberFormat::format(revision, QStringLiteral("0"));
}

void sSelectLanguage(AppState &state, const Language::Choice &choice)
{
    state.systemLanguageId = choice.systemLanguageId;
    state.languageOffset = Language::offsetFor(choice.systemLanguageId);
    state.texts.setVariant(choice.uiVariant);
}

namespace {

// Reads every cached text into a copy; the state changes only when all were found.
struct StringLoader
{
    const AppState &state;
    bool ok = true;

    QString local(int id)
    {
        return get(state.languageOffset + id);
    }
    QString neutral(int id) { return get(id); }
    QString get(int id)
    {
        const std::optional<QString> t = state.texts.lookup(id);
        if (!t)
            ok = false;
        return t.value_or(QString());
    }
};

} // namespace

qint16 fLoadCommonStrings(AppState &state)
{
    StringLoader s{state};
    const QString appTitle = s.local(acqid::kAppTitle);
    const std::optional<double> charset = NumberFormat::parse(s.local(acqid::kFontCharset));
    const std::array<QString, 2> filters = {s.local(acqid::kFilterCsv), s.local(acqid::kFilterTxt)};
    const QString notSaved = s.local(acqid::kNotSaved);
    const QString overwrite = s.local(acqid::kOverwrite);
    const QString confirmStop = s.local(acqid::kConfirmStop);
    std::array<QString, 22> header;
    for (int i = 0; i < 22; ++i)
        header[size_t(i)] = s.local(acqid::kFileHeaderFirst + i);
    const std::array<QString, 2> velocity = {s.local(2132), s.local(2133)};
    const std::array<QString, 4> flow = {s.local(2142), s.local(2143), s.local(2144), s.local(2145)};
    const std::array<QString, 3> duct = {s.local(2152), s.local(2153), s.local(2154)};
    const std::array<QString, 2> shapes = {s.local(acqid::kShapeRectangle), s.local(acqid::kShapeCircle)};
    std::array<QString, 16> messages;
    for (int i = 0; i <= 15; ++i)
        messages[size_t(i)] = s.local(acqid::kMessageFirst + i);
    // Always the neutral block, whatever the language.
    const std::array<QString, 2> program = {s.neutral(acqid::kStatusMeasurement),
                                            s.neutral(acqid::kStatusDisplay)};
    const std::array<QString, 4> data = {s.neutral(761), s.neutral(762), s.neutral(763), s.neutral(764)};
    const std::array<QString, 2> types = {s.neutral(acqid::kSampleTypeInstant),
                                          s.neutral(acqid::kSampleTypeAverage)};

    if (!s.ok || !charset) {
        if (state.presenter)
            state.presenter->notify(MessagePresenter::Icon::Exclamation,
                                    QLatin1String(AcqSettings::kApplicationTitle),
                                    QLatin1String(kResourceErrorText));
        return status::kFailure;
    }
    state.appTitle = appTitle;
    // The simulation mark stays on the caption whatever the language.
    if (state.simulation == 1)
        state.appTitle += QStringLiteral(" (") + state.localText(acqid::kSimulation) + QLatin1Char(')');
    state.fontChangeFlag = qint16(*charset);
    state.fileFilters = filters;
    state.msgNotSaved = notSaved;
    state.msgOverwrite = overwrite;
    state.msgConfirmStop = confirmStop;
    state.fileHeaderTexts = header;
    state.velocityUnitNames = velocity;
    state.flowUnitNames = flow;
    state.ductUnitNames = duct;
    state.ductShapeNames = shapes;
    state.messages = messages;
    state.programStatusTexts = program;
    state.dataStatusTexts = data;
    state.sampleTypeNames = types;
    return status::kSuccess;
}

void sShowErrMsg(AppState &state, int index)
{
    if (index < 0 || index > 15)
        return;
    sShowErrMsg(state, state.messages[size_t(index)]);
}

void sShowErrMsg(AppState &state, const QString &text)
{
    if (state.presenter)
        state.presenter->notify(MessagePresenter::Icon::Exclamation, state.appTitle, text);
}

void sShowRangeMsgSng(AppState &state, const QString &prefix, float minimum, float maximum)
{
    if (state.presenter)
        state.presenter->notify(MessagePresenter::Icon::Information,
                                state.texts.value(acqid::kFixedErrorMessageCaption),
                                RangeMessage::singleText(prefix, minimum, maximum));
}

void sShowRangeMsgLng(AppState &state, const QString &prefix, qint32 minimum, qint32 maximum)
{
    if (state.presenter)
        state.presenter->notify(MessagePresenter::Icon::Information,
                                state.texts.value(acqid::kFixedErrorMessageCaption),
                                RangeMessage::longText(prefix, minimum, maximum));
}
