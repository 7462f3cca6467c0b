#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QtGlobal>

// What a serial line does to bytes that are not meant to be read.
class LineNoise
{
public:
    // The bytes a receiver set to `receiverBaud` decodes from bytes sent back to back at
    // `senderBaud` (8N1, idle line high): the start bit of each frame it sees is found on a falling
    // edge, each bit is sampled in the middle of the receiver's own bit time. Equal rates give the
    // bytes unchanged.
    static QByteArray garble(const QByteArray &bytes, qint32 senderBaud, qint32 receiverBaud);

    // Random bytes of the given length that contain no "A" (so no line can begin like a reply)
    // and no "/" (so no line can end a dump), with a CR every 8 to 40 bytes.
    static QByteArray garbage(QRandomGenerator &random, int length);
};
