// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class SerialDevice;
class LinkClock;

// The one link to the calibrator, shared by every window of the program.
extern int portNumber;      // COM port 1-4 that the windows open
extern bool linkOpen;       // the link is usable; SendCommand does nothing while false
extern bool noLinkReported; // the no-communication message was shown in this episode
extern QString lastReply;   // the bytes of the most recent read, as text

// Opens COM<port> at 9600 8N1 without flow control, 400 ms read time-out; reports a failure
// with "Nie można otworzyć portu szeregowego." and returns false.
bool OpenCalibratorPort(int port);
// Closes the port if open; always true.
bool CloseCalibratorPort();
// Sends "^" + command + "%" one byte at a time, reads the acknowledgement and runs the
// recovery sequence when it is missing. Callers that expect data read lastReply afterwards.
// When recovery fails or the port fails under the transaction, the link is dropped
// (linkOpen false, lastReply empty, "Brak komunikacji z portem COM." once per episode); a
// port error also closes the port.
void SendCommand(const QString& command);
// "Brak komunikacji z portem COM.": what the technician is told when the link is given up.
QString NoLinkMessage();

// The device and clock behind the link. Tests put scripted ones in place; nullptr restores
// the real port and the real clock. Each returns the previous one.
SerialDevice* SetCalibratorDevice(SerialDevice* device);
LinkClock* SetLinkClock(LinkClock* clock);
SerialDevice& CalibratorDevice();

namespace LinkProtocol {
constexpr int byteDelayMs = 20;
constexpr int readTimeoutMs = 400;
constexpr int replyBufferSize = 50;
constexpr int recoveryAttempts = 5;
constexpr char nak = 0x15;
} // namespace LinkProtocol
