#include "common/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
QTranslator *g_translator = nullptr;
}

void applyQtTranslations(UiVariant variant, bool localizedBlock)
{
    if (g_translator) {
        QCoreApplication::removeTranslator(g_translator);
        delete g_translator;
        g_translator = nullptr;
    }
    if (!localizedBlock || variant == UiVariant::English)
        return;
    const QString name = variant == UiVariant::Japanese ? QStringLiteral("qtbase_ja")
                                                        : QStringLiteral("qtbase_zh_CN");
    auto *translator = new QTranslator;
    if (translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
        g_translator = translator;
    } else {
        delete translator;
    }
}
