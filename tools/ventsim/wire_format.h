#pragma once

#include "tools/ventsim/instrument_options.h"
#include "tools/ventsim/live_waveform.h"
#include "tools/ventsim/record_set.h"

#include <QByteArray>
#include <QList>

// The instrument's side of the serial exchange: the reply lines to "P", "U", "H" and "V", each
// with its line end.
//
// The programs read the unit reply and every record line from its second character on. With CR LF
// line ends that first character is the LF of the line before. So that the values decode right in
// every mode, the instrument puts one character there itself where no LF precedes: a '*' at the
// start of the unit reply and of each record line with CR line ends, and an LF before the first
// record of a dump without "AH" line with CR LF line ends.
class WireFormat
{
public:
    static constexpr char kCrFirstCharacter = '*';

    WireFormat(InstrumentOptions::LineEnd lineEnd, bool atmosphere, int ahLines);

    // "AP <serial>", then the firmware line.
    QList<QByteArray> presenceReply(const QString &serial) const;
    // "AU", then the unit reply (velocity;flow;pressure;temperature letter).
    QList<QByteArray> unitReply(const QString &units) const;
    // The "AH" lines, one line per record, then "/".
    QList<QByteArray> dumpLines(const RecordSet &records) const;
    // AV;velocity;temperature;pressure;flag
    QByteArray liveReply(const LiveReading &reading) const;

    // A record line as the instrument writes it, without first character and line end:
    // a group "001;300;200;mm;  VEL" (Enable ATM off: the type in the last five characters) or
    // "001;300;200;mm;VEL;10132;1" (on), a reading "001;3.25;21.5".
    QString recordText(const InstrumentRecord &record) const;
    QByteArray lineEnd() const;
    int ahLines() const { return m_ahLines; }

private:
    QByteArray line(const QString &text) const;

    InstrumentOptions::LineEnd m_lineEnd;
    bool m_atmosphere;
    int m_ahLines;
};
