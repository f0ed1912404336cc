// SPDX-License-Identifier: MIT
#include "core/link/CSerialPort.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QScopeGuard>

#include <cerrno>

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
// the failure waits for the next Read or Write, which returns it. The port counts as open
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

std::optional<CSerialException> CSerialPort::Unusable() const
{
    if (lostCode != 0)
        return SerialFailure(lostCode);
    if (!port.isOpen())
        return SerialFailure(EBADF);
    return std::nullopt;
}

CSerialPort::~CSerialPort()
{
    Close();
}

CSerialException CSerialPort::PortFailure()
{
    const quint32 code = SystemCode(port.error());
    port.clearError();
    return SerialFailure(code);
}

std::optional<CSerialException> CSerialPort::Open(const QString& path,
                                                  const SerialLineSettings& settings)
{
    ++session;
    lostCode = 0;
    port.setPortName(path);
    if (!port.open(QIODevice::ReadWrite)) {
        // errno first, before anything else can change it: with Qt's error it tells a missing
        // device from a forbidden one and from one that another program holds.
        const int systemError = errno;
        const QSerialPort::SerialPortError error = port.error();
        port.clearError();
        return CSerialException(SystemCode(error), error, systemError);
    }
    readTimeoutMs = settings.readTimeoutMs;
    if (!port.setBaudRate(settings.baudRate) || !port.setDataBits(settings.dataBits) ||
        !port.setParity(settings.parity) || !port.setStopBits(settings.stopBits) ||
        !port.setFlowControl(settings.flowControl))
        return PortFailure();
    return std::nullopt;
}

void CSerialPort::Close()
{
    ++session;
    lostCode = 0;
    if (port.isOpen())
        port.close();
    port.clearError();
}

bool CSerialPort::IsOpen() const
{
    return port.isOpen() || lostCode != 0;
}

SerialLineSettings CSerialPort::Settings() const
{
    return {port.baudRate(), port.dataBits(),    port.parity(),
            port.stopBits(), port.flowControl(), readTimeoutMs};
}

SerialResult<QByteArray> CSerialPort::Read(qint64 maxCount)
{
    if (const std::optional<CSerialException> failure = Unusable())
        return *failure;
    busy = true;
    const auto done = qScopeGuard([this] { busy = false; });
    // A precise deadline: the read must not give up before the whole time-out has passed.
    const QDeadlineTimer deadline(readTimeoutMs, Qt::PreciseTimer);
    QByteArray buffer(maxCount, Qt::Uninitialized);
    qint64 got = 0;
    while (got < maxCount) {
        const qint64 n = port.read(buffer.data() + got, maxCount - got);
        if (n < 0)
            return PortFailure();
        got += n;
        if (got >= maxCount)
            break;
        const qint64 wait = deadline.remainingTime();
        if (wait == 0)
            break;
        if (!port.waitForReadyRead(int(wait))) {
            if (port.error() == QSerialPort::TimeoutError) {
                port.clearError();
                if (deadline.hasExpired())
                    break;
                continue;
            }
            return PortFailure();
        }
    }
    buffer.truncate(got);
    return buffer;
}

SerialResult<qint64> CSerialPort::Write(const QByteArray& bytes)
{
    if (const std::optional<CSerialException> failure = Unusable())
        return *failure;
    busy = true;
    const auto done = qScopeGuard([this] { busy = false; });
    const qint64 n = port.write(bytes);
    if (n < 0)
        return PortFailure();
    // Writes never time out: wait until the bytes have left.
    while (port.bytesToWrite() > 0) {
        if (!port.waitForBytesWritten(1000) && port.error() != QSerialPort::NoError &&
            port.error() != QSerialPort::TimeoutError)
            return PortFailure();
        port.clearError();
    }
    return n;
}

SerialResult<QByteArray> CSerialPort::DiscardInput()
{
    if (const std::optional<CSerialException> failure = Unusable())
        return *failure;
    busy = true;
    const auto done = qScopeGuard([this] { busy = false; });
    // What the port already holds for reading, then what the system holds for the port: taken
    // in without waiting, so that the caller learns what was dropped, then cleared for bytes
    // that come in meanwhile.
    QByteArray dropped = port.readAll();
    if (!port.waitForReadyRead(0) && port.error() != QSerialPort::NoError &&
        port.error() != QSerialPort::TimeoutError)
        return PortFailure();
    port.clearError();
    dropped += port.readAll();
    if (!port.clear(QSerialPort::Input))
        return PortFailure();
    return dropped;
}
