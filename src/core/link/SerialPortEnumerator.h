// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

// A serial port present on this computer, as the system describes it.
struct SerialPortDescription
{
    QString path; // what the port map stores: /dev/ttyUSB0 on Linux, COM3 on Windows
    QString description;
    QString manufacturer;
    QString serialNumber;
};

// Lists the serial ports present; the program asks the system, tests give their own list.
class SerialPortEnumerator
{
public:
    virtual ~SerialPortEnumerator() = default;
    virtual QList<SerialPortDescription> Ports() const = 0;
};

// The ports the system knows (QSerialPortInfo), in natural order of their paths
// (ttyS2 before ttyS10). Pseudo-terminals are not among them.
SerialPortEnumerator& SystemSerialPorts();

// One line for a list of ports: the path, then what is known about the device, for example
// "/dev/ttyUSB0 — FT232R USB UART (FTDI, A50285BI)".
QString SerialPortLabel(const SerialPortDescription& port);
