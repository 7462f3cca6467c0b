#include "common/core/language.h"

#include <QStringList>

namespace {

// "ja_JP.UTF-8@euro" -> "ja_JP"
QString bareLocale(const QString &locale)
{
    QString s = locale.trimmed();
    const int at = s.indexOf(QLatin1Char('@'));
    if (at >= 0)
        s.truncate(at);
    const int dot = s.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        s.truncate(dot);
    return s.replace(QLatin1Char('-'), QLatin1Char('_'));
}

bool isSimplifiedChinese(const QString &bare)
{
    const QString s = bare.toLower();
    return s == QLatin1String("zh") || s.startsWith(QLatin1String("zh_cn"))
        || s.startsWith(QLatin1String("zh_sg")) || s.startsWith(QLatin1String("zh_hans"));
}

// The variant a single language name stands for, if we have one.
bool variantFor(const QString &name, UiVariant *variant)
{
    const QString bare = bareLocale(name);
    const QString lower = bare.toLower();
    if (lower == QLatin1String("ja") || lower.startsWith(QLatin1String("ja_"))) {
        *variant = UiVariant::Japanese;
        return true;
    }
    if (isSimplifiedChinese(bare)) {
        *variant = UiVariant::Chinese;
        return true;
    }
    if (lower == QLatin1String("en") || lower.startsWith(QLatin1String("en_"))) {
        *variant = UiVariant::English;
        return true;
    }
    return false;
}

} // namespace

QString Language::systemEnvironment(const char *name)
{
    return qEnvironmentVariable(name);
}

qint16 Language::languageIdForLocale(const QString &locale)
{
    const QString bare = bareLocale(locale);
    const QString lower = bare.toLower();
    if (lower == QLatin1String("ja") || lower.startsWith(QLatin1String("ja_")))
        return kJapanese;
    if (isSimplifiedChinese(bare))
        return kChineseSimplified;
    if (lower == QLatin1String("en_us"))
        return kEnglishUs;
    return kOther;
}

qint16 Language::offsetFor(qint16 systemLanguageId)
{
    return (systemLanguageId == kJapanese || systemLanguageId == kChineseSimplified)
               ? kLocalizedOffset
               : qint16(0);
}

qint16 Language::charsetFor(qint16 systemLanguageId)
{
    return systemLanguageId == kJapanese ? qint16(128) : qint16(0);
}

Language::Choice Language::detect(const EnvReader &env)
{
    QString locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = env(name);
        if (!locale.isEmpty())
            break;
    }
    Choice choice;
    choice.systemLanguageId = languageIdForLocale(locale);

    const QString bare = bareLocale(locale);
    const bool cLocale = bare.isEmpty() || bare == QLatin1String("C") || bare == QLatin1String("POSIX");
    if (!cLocale) {
        const QStringList wanted = env("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts);
        for (const QString &name : wanted) {
            UiVariant v;
            if (variantFor(name, &v)) {
                choice.uiVariant = v;
                return choice;
            }
        }
    }
    UiVariant v = UiVariant::English;
    if (variantFor(locale, &v))
        choice.uiVariant = v;
    return choice;
}
