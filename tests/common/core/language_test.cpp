#include "common/core/language.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

Language::Choice detect(const QHash<QString, QString> &env)
{
    return Language::detect([&env](const char *name) { return env.value(QLatin1String(name)); });
}

TEST(Language, SystemIdentifierAndVariantFromTheLocale)
{
    using V = UiVariant;
    const struct { QHash<QString, QString> env; qint16 id; UiVariant variant; } cases[] = {
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
    for (const auto &c : cases) {
        const Language::Choice choice = detect(c.env);
        const std::string env = (c.env.value("LANG") + " LANGUAGE=" + c.env.value("LANGUAGE")).toStdString();
        EXPECT_EQ(choice.systemLanguageId, c.id) << env;
        EXPECT_EQ(int(choice.uiVariant), int(c.variant)) << env;
    }
}

TEST(Language, OffsetAndCharacterSetByIdentifier)
{
    const int cases[][3] = {{1041, 10000, 128}, {2052, 10000, 0}, {1033, 0, 0}, {0, 0, 0}};
    for (const auto &c : cases) {
        EXPECT_EQ(Language::offsetFor(qint16(c[0])), c[1]) << c[0];
        EXPECT_EQ(Language::charsetFor(qint16(c[0])), c[2]) << c[0];
    }
}

} // namespace
