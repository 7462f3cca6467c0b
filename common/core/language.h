#pragma once

#include "common/core/string_table.h"

#include <QString>
#include <functional>

// Language choice from the Linux locale.
//
// The system language identifier comes from the first non-empty of LC_ALL, LC_MESSAGES and LANG:
// Japanese 1041, Simplified Chinese 2052 (zh_CN, zh_SG, zh_Hans, plain zh), US English 1033,
// anything else "other" (0). The variant used inside the localized block follows the
// user-interface language: LANGUAGE first (the gettext rule: a colon-separated list, ignored
// under the C locale), else the same locale; English where no variant exists. So a Japanese
// system with LANGUAGE=en uses the localized block with its English texts.
class Language
{
public:
    static constexpr qint16 kOther = 0;
    static constexpr qint16 kEnglishUs = 1033;
    static constexpr qint16 kJapanese = 1041;
    static constexpr qint16 kChineseSimplified = 2052;
    static constexpr qint16 kLocalizedOffset = 10000;

    using EnvReader = std::function<QString(const char *name)>;

    struct Choice
    {
        qint16 systemLanguageId = kOther;
        UiVariant uiVariant = UiVariant::English;
    };

    static Choice detect(const EnvReader &env = systemEnvironment);

    // 1041, 2052, 1033 or 0 for a locale name such as "ja_JP.UTF-8".
    static qint16 languageIdForLocale(const QString &locale);
    // 10000 for Japanese and Simplified Chinese, 0 for every other identifier.
    static qint16 offsetFor(qint16 systemLanguageId);
    // Font character-set number of ventlink's start-up: 128 for Japanese, 0 otherwise.
    static qint16 charsetFor(qint16 systemLanguageId);

    static QString systemEnvironment(const char *name);
};
