#pragma once

#include <QByteArray>

namespace ventsimtest {

// The built-in small record set as the instrument sends it with the atmosphere fields and CR LF
// line ends, written by hand: four groups, the "AH" acknowledgement first and "/" last.
inline const QByteArray kSmallDumpAtmCrLf =
    "AH\r\n"
    "001;300;200;mm;VEL;10132;1\r\n"
    "001;3.25;21.5\r\n"
    "002;3.40;21.6\r\n"
    "003;3.18;21.6\r\n"
    "002;12.0;8.0;inch;AFLOW;10128;2\r\n"
    "001;412.5;22.0\r\n"
    "002;398.0;22.1\r\n"
    "003;300;300;mm;PRESS;10125;3\r\n"
    "001;12.6;22.3\r\n"
    "002;13.1;22.4\r\n"
    "004;250;250;mm;VEL;10130;0\r\n"
    "001;0.52;21.9\r\n"
    "/\r\n";

} // namespace ventsimtest
