#pragma once

#include <QObject>

// The virtual instrument: speaks the instrument's serial exchange on a pseudo-terminal.
class VirtualInstrument : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
};
