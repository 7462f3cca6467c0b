#include "common/core/io_failure.h"

#include "common/core/string_table.h"

#include <QFileDevice>
#include <cerrno>
#include <cstring>

namespace {

struct Known
{
    int code;
    IoFailure::Reason reason;
};

const Known kKnown[] = {
    {EACCES, IoFailure::Reason::PermissionDenied}, {EPERM, IoFailure::Reason::PermissionDenied},
    {ENODEV, IoFailure::Reason::NoSuchDevice},     {ENXIO, IoFailure::Reason::NoSuchDevice},
    {ENOENT, IoFailure::Reason::NoSuchFile},       {ENOTDIR, IoFailure::Reason::NoSuchFile},
    {EROFS, IoFailure::Reason::ReadOnly},          {ENOSPC, IoFailure::Reason::NoSpace},
    {EDQUOT, IoFailure::Reason::NoSpace},          {EBUSY, IoFailure::Reason::Busy},
};

} // namespace

IoFailure::Reason IoFailure::fromErrno(int code)
{
    for (const Known &k : kKnown) {
        if (k.code == code)
            return k.reason;
    }
    return Reason::Other;
}

IoFailure::Reason IoFailure::fromSystemText(const QString &text)
{
    // Qt's devices report the system's text for the error number (strerror), sometimes after
    // words of their own ("Cannot open ...: Permission denied").
    for (const Known &k : kKnown) {
        const QString known = QString::fromLocal8Bit(std::strerror(k.code));
        if (!known.isEmpty() && text.contains(known, Qt::CaseInsensitive))
            return k.reason;
    }
    return Reason::Other;
}

IoFailure IoFailure::forFile(const QString &path, const QFileDevice &file)
{
    IoFailure f;
    f.target = path;
    f.systemText = file.errorString();
    f.reason = fromSystemText(f.systemText);
    return f;
}

IoFailure IoFailure::forPort(const QString &path, QSerialPort::SerialPortError error,
                             const QString &systemText)
{
    IoFailure f;
    f.target = path;
    f.systemText = systemText;
    f.port = true;
    switch (error) {
    case QSerialPort::PermissionError:
        // Qt reports a port another program has locked as a permission error too.
        f.reason = systemText.contains(QLatin1String("lock"), Qt::CaseInsensitive) ? Reason::Busy
                                                                                   : Reason::PermissionDenied;
        break;
    case QSerialPort::DeviceNotFoundError: f.reason = Reason::NoSuchDevice; break;
    default: f.reason = fromSystemText(systemText); break;
    }
    return f;
}

QString describeIoFailure(const IoFailure &failure, const Texts &texts, int languageOffset)
{
    if (!failure.isSet())
        return QString();
    QString reason = failure.systemText;
    if (failure.reason != IoFailure::Reason::Other)
        reason = texts.value(languageOffset + IoFailure::kIdReasonFirst + int(failure.reason) - 1);
    if (reason.isEmpty())
        reason = failure.systemText;
    QString line = texts.value(languageOffset + IoFailure::kIdDetail);
    line = line.isEmpty() ? failure.target + QStringLiteral(": ") + reason
                          : line.arg(failure.target, reason);
    if (failure.port && failure.reason == IoFailure::Reason::PermissionDenied)
        line += QLatin1Char('\n') + texts.value(languageOffset + IoFailure::kIdDialoutHint);
    return line;
}

QString withIoFailure(const QString &message, const IoFailure &failure, const Texts &texts,
                      int languageOffset)
{
    const QString detail = describeIoFailure(failure, texts, languageOffset);
    return detail.isEmpty() ? message : message + QLatin1Char('\n') + detail;
}
