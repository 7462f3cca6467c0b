#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace venttest {

namespace {
QTemporaryDir *g_root = nullptr;
}

void isolateUserFolders()
{
    if (g_root)
        return;
    g_root = new QTemporaryDir(QDir::tempPath() + "/venttest-XXXXXX");
    const QString root = g_root->path();
    const char *names[][2] = {{"XDG_CONFIG_HOME", "config"},
                              {"XDG_DATA_HOME", "data"},
                              {"XDG_CACHE_HOME", "cache"},
                              {"XDG_RUNTIME_DIR", "runtime"}};
    for (const auto &n : names) {
        const QString dir = root + "/" + n[1];
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(n[0], dir.toLocal8Bit());
    }
}

QString userRoot()
{
    return g_root ? g_root->path() : QString();
}

QString sourcePath(const QString &relative)
{
    return QStringLiteral(VENT_SOURCE_DIR) + "/" + relative;
}

QString binaryPath(const QString &relative)
{
    return QStringLiteral(VENT_BINARY_DIR) + "/" + relative;
}

} // namespace venttest
