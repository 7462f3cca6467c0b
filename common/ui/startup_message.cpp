#include "common/ui/startup_message.h"

#include "common/ui/test_hooks.h"

#include <QMessageBox>
#include <QTimer>
#include <cstdio>

void showStartupMessage(const QString &title, const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok);
    if (const auto ms = TestHooks::milliseconds(TestHooks::Hook::DismissMessageMs))
        QTimer::singleShot(*ms, &box, &QMessageBox::accept);
    box.exec();
}
