// SPDX-License-Identifier: MIT
#include "core/link/CSerialPort.h"

#include "core/link/PortMap.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QScopeGuard>

#include <cerrno>
#include <cstring>

void ThrowSerialException(quint32 errorCode)
{
    throw CSerialException(errorCode != 0 ? errorCode : quint32(errno));
}

namespace {

// The system error code that stands behind a Qt SerialPort error.
quint32 SystemCode(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::PermissionError:
        return EACCES;
    case QSerialPort::OpenError:
        return EBUSY;
    case QSerialPort::NotOpenError:
        return EBADF;
    case QSerialPort::TimeoutError:
        return ETIMEDOUT;
    case QSerialPort::UnsupportedOperationError:
        return EINVAL;
    default:
        return EIO;
    }
}

QSerialPort::Parity ParityFromCode(int code)
{
    switch (code) {
    case ParityEven:
        return QSerialPort::EvenParity;
    case ParityMark:
        return QSerialPort::MarkParity;
    case ParityOdd:
        return QSerialPort::OddParity;
    case ParitySpace:
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits StopBitsFromCode(int code)
{
    switch (code) {
    case StopBitsOneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case StopBitsTwo:
        return QSerialPort::TwoStop;
    default:
        return QSerialPort::OneStop;
    }
}

// Qt SerialPort knows no DSR flow control: the DSR rows use the hardware handshake too.
QSerialPort::FlowControl FlowFromCode(int code)
{
    switch (code) {
    case FlowCtsRts:
    case FlowCtsDtr:
    case FlowDsrRts:
    case FlowDsrDtr:
        return QSerialPort::HardwareControl;
    case FlowXonXoff:
        return QSerialPort::SoftwareControl;
    default:
        return QSerialPort::NoFlowControl;
    }
}

} // namespace

CSerialPort::CSerialPort()
{
    QObject::connect(&port, &QSerialPort::errorOccurred, &port,
                     [this](QSerialPort::SerialPortError error) { OnPortError(error); });
}

// Between reads the port's notifier still watches the device. When the device goes (a USB
// adapter pulled, the far end of a pseudo-terminal closed), Qt reports the failure and then,
// the descriptor staying readable, reports it again at once, for ever: the program would
// spin on it until the next command. The descriptor is let go once this report is done, and
// the failure waits for the next Read or Write, which throws it. The port counts as open
// until Close, as a handle to a vanished device does.
void CSerialPort::OnPortError(QSerialPort::SerialPortError error)
{
    if (busy || lostCode != 0)
        return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    lostCode = SystemCode(error);
    const quint64 lostSession = session;
    QMetaObject::invokeMethod(
        &port,
        [this, lostSession] {
            if (session == lostSession && lostCode != 0 && port.isOpen())
                port.close();
        },
        Qt::QueuedConnection);
}

void CSerialPort::CheckUsable() const
{
    if (lostCode != 0)
        ThrowSerialException(lostCode);
    if (!port.isOpen())
        ThrowSerialException(EBADF);
}

CSerialPort::~CSerialPort()
{
    Close();
}

void CSerialPort::ThrowPortError()
{
    const quint32 code = SystemCode(port.error());
    port.clearError();
    ThrowSerialException(code);
}

void CSerialPort::Open(int portNumber, quint32 baudRate, int parity, quint8 dataBits, int stopBits,
                       int flowControl, bool overlappedIo)
{
    ++session;
    lostCode = 0;
    port.setPortName(PortDevicePath(portNumber));
    if (!port.open(QIODevice::ReadWrite)) {
        // errno first, before anything else can change it: with Qt's error it tells a missing
        // device from a forbidden one and from one that another program holds.
        const int systemError = errno;
        const QSerialPort::SerialPortError error = port.error();
        port.clearError();
        throw CSerialException(SystemCode(error), error, systemError);
    }
    overlapped = overlappedIo;

    SerialLineSettings s = GetState();
    s.baudRate = qint32(baudRate);
    s.parity = ParityFromCode(parity);
    s.dataBits = QSerialPort::DataBits(dataBits);
    s.stopBits = StopBitsFromCode(stopBits);
    s.flowControl = FlowFromCode(flowControl);
    SetState(s);
}

void CSerialPort::Close()
{
    ++session;
    lostCode = 0;
    if (port.isOpen())
        port.close();
    port.clearError();
    overlapped = false;
}

bool CSerialPort::IsOpen() const
{
    return port.isOpen() || lostCode != 0;
}

SerialLineSettings CSerialPort::GetState()
{
    CheckUsable();
    SerialLineSettings s;
    s.baudRate = port.baudRate();
    s.dataBits = port.dataBits();
    s.parity = port.parity();
    s.stopBits = port.stopBits();
    s.flowControl = port.flowControl();
    return s;
}

void CSerialPort::SetState(const SerialLineSettings& s)
{
    CheckUsable();
    if (!port.setBaudRate(s.baudRate) || !port.setDataBits(s.dataBits) ||
        !port.setParity(s.parity) || !port.setStopBits(s.stopBits) ||
        !port.setFlowControl(s.flowControl))
        ThrowPortError();
}

SerialTimeouts CSerialPort::GetTimeouts()
{
    CheckUsable();
    return timeouts;
}

void CSerialPort::SetTimeouts(const SerialTimeouts& t)
{
    CheckUsable();
    timeouts = t;
}

qint64 CSerialPort::Read(char* buffer, qint64 count)
{
    CheckUsable();
    busy = true;
    const auto done = qScopeGuard([this] { busy = false; });
    // The total time-out: constant + multiplier per requested byte. The interval time-out
    // (between two bytes) applies once the first byte is in, when it is set.
    const qint64 total = qint64(timeouts.readTotalTimeoutConstant) +
                         qint64(timeouts.readTotalTimeoutMultiplier) * count;
    // A precise deadline: the read must not give up before the whole time-out has passed.
    QDeadlineTimer deadline(total > 0 ? total : -1, Qt::PreciseTimer);
    qint64 got = 0;
    while (got < count) {
        const qint64 n = port.read(buffer + got, count - got);
        if (n < 0)
            ThrowPortError();
        got += n;
        if (got >= count)
            break;
        qint64 wait = deadline.remainingTime();
        if (got > 0 && timeouts.readIntervalTimeout > 0)
            wait = wait < 0 ? timeouts.readIntervalTimeout
                            : qMin<qint64>(wait, timeouts.readIntervalTimeout);
        if (wait == 0)
            break;
        if (!port.waitForReadyRead(int(wait))) {
            if (port.error() == QSerialPort::TimeoutError) {
                port.clearError();
                if (deadline.hasExpired() || (got > 0 && timeouts.readIntervalTimeout > 0))
                    break;
                continue;
            }
            ThrowPortError();
        }
    }
    return got;
}

qint64 CSerialPort::Write(const char* buffer, qint64 count)
{
    CheckUsable();
    busy = true;
    const auto done = qScopeGuard([this] { busy = false; });
    const qint64 n = port.write(buffer, count);
    if (n < 0)
        ThrowPortError();
    // Writes never time out: wait until the bytes have left.
    while (port.bytesToWrite() > 0) {
        if (!port.waitForBytesWritten(1000) && port.error() != QSerialPort::NoError &&
            port.error() != QSerialPort::TimeoutError)
            ThrowPortError();
        port.clearError();
    }
    return n;
}

QByteArray CSerialPort::DiscardInput()
{
    CheckUsable();
    busy = true;
    const auto done = qScopeGuard([this] { busy = false; });
    // What the port already holds for reading, then what the system holds for the port: taken
    // in without waiting, so that the caller learns what was dropped, then cleared for bytes
    // that come in meanwhile.
    QByteArray dropped = port.readAll();
    if (!port.waitForReadyRead(0) && port.error() != QSerialPort::NoError &&
        port.error() != QSerialPort::TimeoutError)
        ThrowPortError();
    port.clearError();
    dropped += port.readAll();
    if (!port.clear(QSerialPort::Input))
        ThrowPortError();
    return dropped;
}
