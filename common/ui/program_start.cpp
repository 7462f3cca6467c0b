#include "common/ui/program_start.h"

#include "common/core/single_instance.h"
#include "common/core/string_table.h"
#include "common/ui/startup_message.h"
#include "common/ui/window_fonts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QWidget>

bool startProgram(const QString &programName, const QString &title, const QString &tablePath,
                  SingleInstance &instance, StringTable &table, int *exitCode)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Ventolux"));
    QCoreApplication::setApplicationName(programName);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/") + programName + QStringLiteral(".svg")));
    installFontSubstitutions();

    if (!instance.tryAcquire()) {
        // These two texts are shown before the string table is read, so they cannot come from it.
        showStartupMessage(title, title + QStringLiteral(" is Running !"));
        instance.askRunningToRaise();
        *exitCode = 0;
        return false;
    }
    if (!table.loadFile(tablePath)) {
        showStartupMessage(title, QStringLiteral("Error reading from resource file."));
        *exitCode = 1;
        return false;
    }
    return true;
}

void raiseOnSecondStart(SingleInstance &instance, QWidget *window)
{
    instance.onRaiseRequest([window] {
        if (window->isMinimized())
            window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window->show();
        window->raise();
        window->activateWindow();
    });
}
