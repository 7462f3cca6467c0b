#pragma once

#include <QSerialPort>
#include <QString>

class QFileDevice;
class Texts;

// Why a file or a port could not be opened, read or written, kept so a message can name the file
// or port and say why in words the user can act on. The programs show their own message first and
// describe() below it.
struct IoFailure
{
    enum class Reason { Other, PermissionDenied, NoSuchDevice, NoSuchFile, ReadOnly, NoSpace, Busy };

    QString target;     // the path of the file or the port
    QString systemText; // the system's own words (strerror), shown when the reason is Other
    Reason reason = Reason::Other;
    bool port = false;

    bool isSet() const { return !target.isEmpty(); }

    static IoFailure forFile(const QString &path, const QFileDevice &file);
    static IoFailure forPort(const QString &path, QSerialPort::SerialPortError error,
                             const QString &systemText);
    // The reason for a system error number, or the system's text of one (as the Qt devices give it).
    static Reason fromErrno(int code);
    static Reason fromSystemText(const QString &text);

    // String IDs, the same in both programs' tables (the language offset is added on lookup).
    static constexpr int kIdDetail = 960;    // "%1: %2" (path, reason)
    static constexpr int kIdReasonFirst = 961; // PermissionDenied .. Busy, in enum order
    static constexpr int kIdDialoutHint = 967;
};

// The lines shown under a program's message: "<path>: <reason>", and for a port refused for lack
// of permission how to get it. Empty when `failure` is not set.
QString describeIoFailure(const IoFailure &failure, const Texts &texts, int languageOffset);
// `message`, then the description on the next line(s) when there is one.
QString withIoFailure(const QString &message, const IoFailure &failure, const Texts &texts,
                      int languageOffset);
