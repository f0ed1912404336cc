// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "PortProtocol.h"
#include "RecordingMessageService.h"
#include "core/link/CSerialPort.h"
#include "core/link/PortMap.h"

#include <QElapsedTimer>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

// CSerialPort on a pseudo-terminal: the test holds the master side and a descriptor of the
// slave side (so the line settings can be read back), the port opens the slave by the path
// the port map gives, as the link does.

namespace {

constexpr int ptyPort = 7;     // COM7 is mapped to the pseudo-terminal
constexpr int missingPort = 8; // COM8 is mapped to a path that does not exist

class Pty
{
public:
    Pty()
    {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0)
            path = QString::fromLocal8Bit(name);
    }
    ~Pty()
    {
        if (master >= 0)
            ::close(master);
        if (slave >= 0)
            ::close(slave);
    }
    bool IsValid() const { return !path.isEmpty(); }

    // What the port wrote, as far as it arrives within `timeoutMs`.
    QByteArray ReadMaster(int expected, int timeoutMs = 2000) const
    {
        QByteArray got;
        QElapsedTimer t;
        t.start();
        while (got.size() < expected && t.elapsed() < timeoutMs) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0 && (p.revents & POLLIN)) {
                char buffer[256];
                const ssize_t n = ::read(master, buffer, sizeof buffer);
                if (n > 0)
                    got.append(buffer, n);
            }
        }
        return got;
    }
    bool WriteMaster(const QByteArray& bytes) const
    {
        return ::write(master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    termios Settings() const
    {
        termios t{};
        tcgetattr(slave, &t);
        return t;
    }

    int master = -1;
    int slave = -1;
    QString path;
};

// 9600 8N1 without flow control, the read waiting `readTimeoutMs` in all.
SerialLineSettings Line8N1(int readTimeoutMs = 400)
{
    return {9600,
            QSerialPort::Data8,
            QSerialPort::NoParity,
            QSerialPort::OneStop,
            QSerialPort::NoFlowControl,
            readTimeoutMs};
}

// Whether the port opened the pseudo-terminal.
bool OpenDefault(CSerialPort& port, int readTimeoutMs = 400)
{
    return !port.Open(PortDevicePath(ptyPort), Line8N1(readTimeoutMs));
}

// The error code of the failure an operation gave; 0 when it did not fail.
quint32 FailureCode(const std::optional<CSerialException>& failure)
{
    return failure ? failure->errorCode : 0;
}
template <typename T> quint32 FailureCode(const SerialResult<T>& result)
{
    return FailureCode(result.failure);
}

} // namespace

class TestSerialPort : public QObject
{
    Q_OBJECT

private:
    Pty* pty = nullptr;

private slots:
    void init()
    {
        pty = new Pty;
        QVERIFY2(pty->IsValid(), "no pseudo-terminal");
        qputenv("R718_COM7", pty->path.toLocal8Bit());
        qputenv("R718_COM8", "/nonexistent/tty-for-tests");
    }
    void cleanup()
    {
        delete pty;
        pty = nullptr;
    }

    void missingDeviceFailsAndStaysClosed_data()
    {
        QTest::addColumn<int>("portNumber");
        DataRow("mapped path does not exist", missingPort);
        DataRow("port 0", 0);
    }
    void missingDeviceFailsAndStaysClosed()
    {
        QFETCH(int, portNumber);
        qunsetenv("R718_COM0");
        CSerialPort port;
        const std::optional<CSerialException> failure =
            port.Open(PortDevicePath(portNumber), Line8N1());
        const quint32 code = FailureCode(failure);
        const QString message = failure ? failure->ErrorMessage() : QString();
        QCOMPARE(code, quint32(ENOENT));
        QCOMPARE(message, QString::fromLocal8Bit(std::strerror(ENOENT)));
        QVERIFY(!port.IsOpen());
        // The same object opens a port that is there.
        QVERIFY(OpenDefault(port));
        QVERIFY(port.IsOpen());
    }

    void portHeldElsewhereFailsAndStaysClosed()
    {
        CSerialPort first;
        QVERIFY(OpenDefault(first));
        CSerialPort second;
        const quint32 code = FailureCode(second.Open(PortDevicePath(ptyPort), Line8N1()));
        QVERIFY(code != 0);
        QCOMPARE(code, quint32(EACCES));
        QVERIFY(!second.IsOpen());
        QVERIFY(first.IsOpen());
        // The holder is not disturbed.
        QCOMPARE(first.Write("^X%").value, qint64(3));
        QCOMPARE(pty->ReadMaster(3), QByteArray("^X%"));
    }

    void releasedPortOpensAgain()
    {
        {
            CSerialPort first;
            QVERIFY(OpenDefault(first));
        } // the destructor closes it
        CSerialPort second;
        QVERIFY(OpenDefault(second));
        QVERIFY(second.IsOpen());
    }

    void lineSettingsApplied_data()
    {
        DataColumns<int, int, int, int, int, uint>("baud", "parity", "dataBits", "stopBits", "flow",
                                                   "speed");
        QTest::addColumn<uint>("cflagSet");   // these bits must be set...
        QTest::addColumn<uint>("cflagClear"); // ...and these clear
        DataColumns<uint, uint>("iflagSet", "iflagClear");
        // A pseudo-terminal keeps 8 data bits and refuses even and odd parity, so the rows
        // vary the speed, the stop bits and the flow control.
        DataRow("calibrator link 9600 8N1 no flow control", 9600, int(QSerialPort::NoParity), 8,
                int(QSerialPort::OneStop), int(QSerialPort::NoFlowControl), uint(B9600), uint(CS8),
                uint(PARENB | CMSPAR | CSTOPB | CRTSCTS), 0u, uint(IXON | IXOFF));
        DataRow("19200 8N2 hardware handshake", 19200, int(QSerialPort::NoParity), 8,
                int(QSerialPort::TwoStop), int(QSerialPort::HardwareControl), uint(B19200),
                uint(CS8 | CSTOPB | CRTSCTS), uint(PARENB), 0u, uint(IXON | IXOFF));
        DataRow("4800 8N1 XON/XOFF", 4800, int(QSerialPort::NoParity), 8, int(QSerialPort::OneStop),
                int(QSerialPort::SoftwareControl), uint(B4800), uint(CS8),
                uint(PARENB | CSTOPB | CRTSCTS), uint(IXON | IXOFF), 0u);
    }
    void lineSettingsApplied()
    {
        QFETCH(int, baud);
        QFETCH(int, parity);
        QFETCH(int, dataBits);
        QFETCH(int, stopBits);
        QFETCH(int, flow);
        QFETCH(uint, speed);
        QFETCH(uint, cflagSet);
        QFETCH(uint, cflagClear);
        QFETCH(uint, iflagSet);
        QFETCH(uint, iflagClear);

        // Start from settings unlike any row, so that every row has something to change.
        termios before = pty->Settings();
        cfsetispeed(&before, B1200);
        cfsetospeed(&before, B1200);
        before.c_cflag |= CSTOPB | CRTSCTS;
        before.c_iflag |= IXON | IXOFF;
        QCOMPARE(tcsetattr(pty->slave, TCSANOW, &before), 0);

        CSerialPort port;
        QCOMPARE(FailureCode(port.Open(
                     PortDevicePath(ptyPort),
                     {baud, QSerialPort::DataBits(dataBits), QSerialPort::Parity(parity),
                      QSerialPort::StopBits(stopBits), QSerialPort::FlowControl(flow), 400})),
                 0u);
        const termios t = pty->Settings();
        QCOMPARE(uint(cfgetospeed(&t)), speed);
        QCOMPARE(uint(cfgetispeed(&t)), speed);
        QCOMPARE(uint(t.c_cflag) & uint(CSIZE | cflagSet), uint(cflagSet));
        QCOMPARE(uint(t.c_cflag) & cflagClear, 0u);
        QCOMPARE(uint(t.c_iflag) & iflagSet, iflagSet);
        QCOMPARE(uint(t.c_iflag) & iflagClear, 0u);

        const SerialLineSettings s = port.Settings();
        QCOMPARE(s.baudRate, baud);
        QCOMPARE(int(s.dataBits), dataBits);
        QCOMPARE(int(s.parity), parity);
        QCOMPARE(int(s.stopBits), stopBits);
        QCOMPARE(int(s.flowControl), flow);
        QCOMPARE(s.readTimeoutMs, 400);
    }

    void writtenBytesArrive()
    {
        CSerialPort port;
        QVERIFY(OpenDefault(port));
        QCOMPARE(port.Write("^").value, qint64(1));
        QCOMPARE(port.Write("C02%").value, qint64(4));
        QCOMPARE(pty->ReadMaster(5), QByteArray("^C02%"));
    }

    void readWithNothingArrivingWaitsTheTimeout()
    {
        CSerialPort port;
        QVERIFY(OpenDefault(port, 400));
        QElapsedTimer elapsed;
        elapsed.start();
        const SerialResult<QByteArray> read = port.Read(50);
        QCOMPARE(FailureCode(read), 0u);
        QCOMPARE(read.value.size(), 0);
        QVERIFY2(elapsed.elapsed() >= 400, qPrintable(QString::number(elapsed.elapsed())));
        // The port is still usable after a time-out.
        QCOMPARE(port.Write("P").value, qint64(1));
        QCOMPARE(pty->ReadMaster(1), QByteArray("P"));
    }

    void readReturnsWhatArrivedWithinTheTimeout()
    {
        CSerialPort port;
        QVERIFY(OpenDefault(port, 400));
        QVERIFY(pty->WriteMaster("+1.234%"));
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(port.Read(50).value, QByteArray("+1.234%"));
        // Fewer bytes than asked for: the read lasts the whole time-out.
        QVERIFY2(elapsed.elapsed() >= 400, qPrintable(QString::number(elapsed.elapsed())));
    }

    void readEndsWhenTheCountHasArrived()
    {
        CSerialPort port;
        QVERIFY(OpenDefault(port, 10000));
        QVERIFY(pty->WriteMaster("12345678"));
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(port.Read(5).value, QByteArray("12345"));
        QVERIFY2(elapsed.elapsed() < 5000, qPrintable(QString::number(elapsed.elapsed())));
        // The rest waits for the next read.
        QCOMPARE(port.Read(3).value, QByteArray("678"));
    }

    void hangUpOfTheFarEndFails()
    {
        CSerialPort port;
        QVERIFY(OpenDefault(port, 400));
        ::close(pty->master);
        pty->master = -1;
        QVERIFY(FailureCode(port.Read(50)) != 0);
        port.Close();
        QVERIFY(!port.IsOpen());
    }

    // The protocol on the real port: the frame arrives whole and the acknowledgement is read
    // within the link's 400 ms.
    void linkOverThePseudoTerminal()
    {
        PortProtocol link;
        RecordingMessageService& messages = link.messages;
        QVERIFY(link.protocol.OpenCalibratorPort(ptyPort, PortDevicePath(ptyPort)));
        QVERIFY(link.protocol.linkOpen);
        QByteArray received;
        bool answered = false;
        std::thread calibrator([&] {
            received = pty->ReadMaster(5, 3000);
            answered = pty->WriteMaster("%");
        });
        QElapsedTimer elapsed;
        elapsed.start();
        link.protocol.SendCommand(QStringLiteral("C02"));
        calibrator.join();
        QVERIFY(answered);
        QCOMPARE(received, QByteArray("^C02%"));
        QCOMPARE(link.protocol.lastReply, QStringLiteral("%"));
        QVERIFY(link.protocol.linkOpen);
        QVERIFY(messages.messages.isEmpty());
        // Five bytes with their pauses, then the whole read time-out.
        QVERIFY2(elapsed.elapsed() >= 5 * 20 + 400, qPrintable(QString::number(elapsed.elapsed())));
        QVERIFY(link.protocol.CloseCalibratorPort());
    }

    void closeTwice()
    {
        CSerialPort port;
        QVERIFY(OpenDefault(port));
        port.Close();
        QVERIFY(!port.IsOpen());
        port.Close();
        QVERIFY(!port.IsOpen());
    }

    void closedPortFailsOnUse()
    {
        CSerialPort port;
        QCOMPARE(FailureCode(port.Read(4)), quint32(EBADF));
        QCOMPARE(FailureCode(port.Write("x")), quint32(EBADF));
        QCOMPARE(FailureCode(port.DiscardInput()), quint32(EBADF));
    }

    // A write waits until its bytes have left, however long the far end keeps them back.
    void writeNeverTimesOut()
    {
        CSerialPort port;
        QVERIFY(OpenDefault(port));
        const QByteArray bytes(256 * 1024, 'x'); // more than the line holds while nobody reads
        QByteArray received;
        std::thread farEnd([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            received = pty->ReadMaster(int(bytes.size()), 10000);
        });
        QElapsedTimer elapsed;
        elapsed.start();
        const SerialResult<qint64> written = port.Write(bytes);
        const qint64 took = elapsed.elapsed();
        farEnd.join();
        QCOMPARE(FailureCode(written), 0u);
        QCOMPARE(written.value, qint64(bytes.size()));
        QVERIFY2(took >= 1500, qPrintable(QString::number(took)));
        QCOMPARE(received.size(), bytes.size());
    }

    void errorMessageIsTheSystemText_data()
    {
        DataColumns<uint, QString>("code", "text");
        DataRow("missing file", uint(ENOENT), QString::fromLocal8Bit(std::strerror(ENOENT)));
        DataRow("access denied", uint(EACCES), QString::fromLocal8Bit(std::strerror(EACCES)));
        DataRow("no code", 0u, QString());
        DataRow("code without a text", 987654u, QString());
    }
    void errorMessageIsTheSystemText()
    {
        QFETCH(uint, code);
        QFETCH(QString, text);
        QCOMPARE(CSerialException(code).ErrorMessage(), text);
        // The system does have a text for the codes a port raises.
        if (code == ENOENT || code == EACCES)
            QVERIFY(!text.isEmpty());
    }

    void serialFailureTakesTheLastSystemError()
    {
        errno = ENODEV;
        QCOMPARE(SerialFailure(0).errorCode, quint32(ENODEV));
        QCOMPARE(SerialFailure(EIO).errorCode, quint32(EIO));
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
