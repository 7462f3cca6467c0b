#include "link/core/link_state.h"

#include "common/core/message_presenter.h"
#include "common/core/number_format.h"
#include "common/core/status_codes.h"

void selectLinkLanguage(LinkState &state, const Language::Choice &choice)
{
    state.languageOffset = Language::offsetFor(choice.systemLanguageId);
    state.charset = Language::charsetFor(choice.systemLanguageId);
    state.texts.setVariant(choice.uiVariant);
}

qint16 loadLinkStrings(LinkState &state)
{
    bool ok = true;
    auto get = [&](int id) {
        const std::optional<QString> t = state.texts.lookup(state.languageOffset + id);
        ok = ok && t.has_value();
        return t.value_or(QString());
    };
    std::array<QString, 101> errors;
    for (int n = 1; n <= 11; ++n)
        errors[size_t(n)] = get(900 + n);
    const std::array<QString, 2> status = {get(751), get(752)};
    const std::array<QString, 2> degrees = {get(671), get(672)};
    const std::optional<double> charset = NumberFormat::parse(get(791));
    if (!ok || !charset) {
        if (state.presenter)
            state.presenter->notify(MessagePresenter::Icon::Exclamation,
                                    QLatin1String(LinkState::kApplicationTitle),
                                    QStringLiteral("Error reading from resource file."));
        return status::kFailure;
    }
    state.errorTexts = errors;
    state.statusTexts = status;
    state.degreeTexts = degrees;
    state.charset = qint16(*charset);
    return status::kSuccess;
}
