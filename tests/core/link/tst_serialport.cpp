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
// slave side (so the line settings can be read back), the port opens the slave through the
// port map.

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

void OpenDefault(CSerialPort& port)
{
    port.Open(ptyPort, 9600, ParityNone, 8, StopBitsOne, FlowNone, false);
}

// The error code of the exception that `f` throws; 0 when it throws none.
template <typename F> quint32 ThrownCode(F f)
{
    try {
        f();
    } catch (const CSerialException& e) {
        return e.errorCode;
    }
    return 0;
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

    void missingDeviceThrowsAndStaysClosed_data()
    {
        QTest::addColumn<int>("portNumber");
        DataRow("mapped path does not exist", missingPort);
        DataRow("port 0", 0);
    }
    void missingDeviceThrowsAndStaysClosed()
    {
        QFETCH(int, portNumber);
        qunsetenv("R718_COM0");
        CSerialPort port;
        QString message;
        quint32 code = 0;
        try {
            port.Open(portNumber, 9600, ParityNone, 8, StopBitsOne, FlowNone, false);
        } catch (const CSerialException& e) {
            code = e.errorCode;
            message = e.ErrorMessage();
        }
        QCOMPARE(code, quint32(ENOENT));
        QCOMPARE(message, QString::fromLocal8Bit(std::strerror(ENOENT)));
        QVERIFY(!port.IsOpen());
        // The same object opens a port that is there.
        OpenDefault(port);
        QVERIFY(port.IsOpen());
    }

    void portHeldElsewhereThrowsAndStaysClosed()
    {
        CSerialPort first;
        OpenDefault(first);
        CSerialPort second;
        const quint32 code = ThrownCode([&] { OpenDefault(second); });
        QVERIFY(code != 0);
        QCOMPARE(code, quint32(EACCES));
        QVERIFY(!second.IsOpen());
        QVERIFY(first.IsOpen());
        // The holder is not disturbed.
        QCOMPARE(first.Write("^X%", 3), qint64(3));
        QCOMPARE(pty->ReadMaster(3), QByteArray("^X%"));
    }

    void releasedPortOpensAgain()
    {
        {
            CSerialPort first;
            OpenDefault(first);
        } // the destructor closes it
        CSerialPort second;
        OpenDefault(second);
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
        DataRow("calibrator link 9600 8N1 no flow control", 9600, int(ParityNone), 8,
                int(StopBitsOne), int(FlowNone), uint(B9600), uint(CS8),
                uint(PARENB | CMSPAR | CSTOPB | CRTSCTS), 0u, uint(IXON | IXOFF));
        DataRow("19200 8N2 hardware handshake", 19200, int(ParityNone), 8, int(StopBitsTwo),
                int(FlowCtsRts), uint(B19200), uint(CS8 | CSTOPB | CRTSCTS), uint(PARENB), 0u,
                uint(IXON | IXOFF));
        DataRow("4800 8N1 XON/XOFF", 4800, int(ParityNone), 8, int(StopBitsOne), int(FlowXonXoff),
                uint(B4800), uint(CS8), uint(PARENB | CSTOPB | CRTSCTS), uint(IXON | IXOFF), 0u);
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
        port.Open(ptyPort, quint32(baud), parity, quint8(dataBits), stopBits, flow, false);
        const termios t = pty->Settings();
        QCOMPARE(uint(cfgetospeed(&t)), speed);
        QCOMPARE(uint(cfgetispeed(&t)), speed);
        QCOMPARE(uint(t.c_cflag) & uint(CSIZE | cflagSet), uint(cflagSet));
        QCOMPARE(uint(t.c_cflag) & cflagClear, 0u);
        QCOMPARE(uint(t.c_iflag) & iflagSet, iflagSet);
        QCOMPARE(uint(t.c_iflag) & iflagClear, 0u);

        const SerialLineSettings s = port.GetState();
        QCOMPARE(s.baudRate, baud);
        QCOMPARE(int(s.dataBits), dataBits);
    }

    void writtenBytesArrive()
    {
        CSerialPort port;
        OpenDefault(port);
        port.DisableWriteTimeout();
        QCOMPARE(port.Write("^", 1), qint64(1));
        QCOMPARE(port.Write("C02%", 4), qint64(4));
        QCOMPARE(pty->ReadMaster(5), QByteArray("^C02%"));
    }

    void readWithNothingArrivingWaitsTheTimeout()
    {
        CSerialPort port;
        OpenDefault(port);
        SerialTimeouts t = port.GetTimeouts();
        t.readTotalTimeoutConstant = 400;
        port.SetTimeouts(t);
        char buffer[50];
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(port.Read(buffer, sizeof buffer), qint64(0));
        QVERIFY2(elapsed.elapsed() >= 400, qPrintable(QString::number(elapsed.elapsed())));
        // The port is still usable after a time-out.
        QCOMPARE(port.Write("P", 1), qint64(1));
        QCOMPARE(pty->ReadMaster(1), QByteArray("P"));
    }

    void readReturnsWhatArrivedWithinTheTimeout()
    {
        CSerialPort port;
        OpenDefault(port);
        port.SetTimeouts({0, 0, 400, 0, 0});
        QVERIFY(pty->WriteMaster("+1.234%"));
        char buffer[50];
        QElapsedTimer elapsed;
        elapsed.start();
        const qint64 n = port.Read(buffer, sizeof buffer);
        QCOMPARE(QByteArray(buffer, int(n)), QByteArray("+1.234%"));
        // Fewer bytes than asked for: the read lasts the whole time-out.
        QVERIFY2(elapsed.elapsed() >= 400, qPrintable(QString::number(elapsed.elapsed())));
    }

    void readEndsWhenTheCountHasArrived()
    {
        CSerialPort port;
        OpenDefault(port);
        port.SetTimeouts({0, 0, 10000, 0, 0});
        QVERIFY(pty->WriteMaster("12345678"));
        char buffer[5];
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(port.Read(buffer, 5), qint64(5));
        QCOMPARE(QByteArray(buffer, 5), QByteArray("12345"));
        QVERIFY2(elapsed.elapsed() < 5000, qPrintable(QString::number(elapsed.elapsed())));
        // The rest waits for the next read.
        QCOMPARE(port.Read(buffer, 3), qint64(3));
        QCOMPARE(QByteArray(buffer, 3), QByteArray("678"));
    }

    void hangUpOfTheFarEndThrows()
    {
        CSerialPort port;
        OpenDefault(port);
        port.SetTimeouts({0, 0, 400, 0, 0});
        ::close(pty->master);
        pty->master = -1;
        char buffer[50];
        QVERIFY(ThrownCode([&] { port.Read(buffer, sizeof buffer); }) != 0);
        port.Close();
        QVERIFY(!port.IsOpen());
    }

    // The protocol on the real port: the frame arrives whole and the acknowledgement is read
    // within the link's 400 ms.
    void linkOverThePseudoTerminal()
    {
        PortProtocol link;
        RecordingMessageService& messages = link.messages;
        QVERIFY(link.protocol.OpenCalibratorPort(ptyPort));
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
        OpenDefault(port);
        port.Close();
        QVERIFY(!port.IsOpen());
        port.Close();
        QVERIFY(!port.IsOpen());
    }

    void closedPortThrowsOnUse()
    {
        CSerialPort port;
        char buffer[4];
        QCOMPARE(ThrownCode([&] { port.Read(buffer, 4); }), quint32(EBADF));
        QCOMPARE(ThrownCode([&] { port.Write("x", 1); }), quint32(EBADF));
        QCOMPARE(ThrownCode([&] { port.GetTimeouts(); }), quint32(EBADF));
        QCOMPARE(ThrownCode([&] { port.DisableWriteTimeout(); }), quint32(EBADF));
    }

    void disableWriteTimeoutKeepsTheReadFields()
    {
        CSerialPort port;
        OpenDefault(port);
        port.SetTimeouts({1, 2, 3, 4, 5});
        port.DisableWriteTimeout();
        const SerialTimeouts t = port.GetTimeouts();
        QCOMPARE(t.readIntervalTimeout, 1u);
        QCOMPARE(t.readTotalTimeoutMultiplier, 2u);
        QCOMPARE(t.readTotalTimeoutConstant, 3u);
        QCOMPARE(t.writeTotalTimeoutMultiplier, 0u);
        QCOMPARE(t.writeTotalTimeoutConstant, 0u);
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

    void throwSerialExceptionTakesTheLastSystemError()
    {
        errno = ENODEV;
        QCOMPARE(ThrownCode([] { ThrowSerialException(0); }), quint32(ENODEV));
        QCOMPARE(ThrownCode([] { ThrowSerialException(EIO); }), quint32(EIO));
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
