#include "common/core/language.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

struct LocaleCase
{
    QHash<QString, QString> env;
    qint16 id;
    UiVariant variant;
};

Language::Choice detect(const QHash<QString, QString> &env)
{
    return Language::detect([&env](const char *name) { return env.value(QLatin1String(name)); });
}

TEST(Language, SystemIdentifierAndVariantFromTheLocale)
{
    using V = UiVariant;
    const LocaleCase cases[] = {
        {{{"LANG", "ja_JP.UTF-8"}}, 1041, V::Japanese},
        {{{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "en"}}, 1041, V::English}, // Japanese system, English UI
        {{{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "de:en_US"}}, 1041, V::English},
        {{{"LANG", "zh_CN.UTF-8"}}, 2052, V::Chinese},
        {{{"LANG", "zh_SG.UTF-8"}}, 2052, V::Chinese},
        {{{"LANG", "zh_TW.UTF-8"}}, 0, V::English}, // traditional Chinese: no variant
        {{{"LANG", "zh"}}, 2052, V::Chinese},
        {{{"LANG", "en_US.UTF-8"}}, 1033, V::English},
        {{{"LANG", "en_GB.UTF-8"}}, 0, V::English},
        {{{"LANG", "de_DE.UTF-8"}}, 0, V::English},
        {{}, 0, V::English},
        {{{"LANG", "C"}, {"LANGUAGE", "ja"}}, 0, V::English}, // LANGUAGE is ignored under C
        {{{"LC_ALL", "en_US.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, 1033, V::English},
        {{{"LC_MESSAGES", "zh_CN.UTF-8"}, {"LANG", "en_US.UTF-8"}}, 2052, V::Chinese},
        {{{"LC_ALL", ""}, {"LANG", "ja_JP.eucJP@x"}}, 1041, V::Japanese},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "ja:en"}}, 1033, V::Japanese},
    };
    for (const LocaleCase &c : cases) {
        const Language::Choice choice = detect(c.env);
        EXPECT_EQ(choice.systemLanguageId, c.id) << c.env.value("LANG").toStdString();
        EXPECT_EQ(int(choice.uiVariant), int(c.variant)) << c.env.value("LANG").toStdString()
                                                         << " LANGUAGE=" << c.env.value("LANGUAGE").toStdString();
    }
}

TEST(Language, OffsetAndCharacterSetByIdentifier)
{
    EXPECT_EQ(Language::offsetFor(1041), 10000);
    EXPECT_EQ(Language::offsetFor(2052), 10000);
    EXPECT_EQ(Language::offsetFor(1033), 0);
    EXPECT_EQ(Language::offsetFor(0), 0);
    EXPECT_EQ(Language::charsetFor(1041), 128);
    EXPECT_EQ(Language::charsetFor(2052), 0);
    EXPECT_EQ(Language::charsetFor(1033), 0);
}

} // namespace
