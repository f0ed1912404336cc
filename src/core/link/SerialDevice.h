// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/CSerialException.h"

#include <QByteArray>
#include <QSerialPort>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

// How a port is set up when it opens: the line, and how long a read waits in all. A write
// never times out: it waits until its bytes have left.
struct SerialLineSettings
{
    qint32 baudRate = 9600;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;
    int readTimeoutMs = 0; // 0: a read takes what is there and does not wait
};

// What a port operation gives: its value, or the failure that stopped it.
template <typename T> struct [[nodiscard]] SerialResult
{
    SerialResult(T value) : value(std::move(value)) {}
    SerialResult(const CSerialException& failure) : failure(failure) {}

    T value{};
    std::optional<CSerialException> failure;
};

// One RS-232 port as the calibrator link uses it. CSerialPort is the real one; tests put a
// scripted device in its place. Failures come back as values; nothing is thrown.
class SerialDevice
{
public:
    virtual ~SerialDevice() = default;

    // Opens the device at `path` and applies the settings; the failure when it could not. A
    // device that opened but refused the settings stays open (Close it).
    [[nodiscard]] virtual std::optional<CSerialException>
    Open(const QString& path, const SerialLineSettings& settings) = 0;
    // Closes the port if it is open; never fails.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // One read of up to maxCount bytes: what arrived within the read time-out (nothing when
    // nothing came), at once when maxCount bytes are in.
    virtual SerialResult<QByteArray> Read(qint64 maxCount) = 0;
    // One write: the count written, once the bytes have left.
    virtual SerialResult<qint64> Write(const QByteArray& bytes) = 0;
    // Drops whatever has come in and not been read yet and returns it, as far as the port can
    // tell.
    virtual SerialResult<QByteArray> DiscardInput() = 0;
};
