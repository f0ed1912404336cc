// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class CalibratorLink;
class QComboBox;
class SerialDeviceBox;
class SerialPortEnumerator;

// Chooses the COM port (COM1-COM4) of the calibrator. The other line settings are fixed and
// only shown. OK stores the choice and tries the port at once; when it cannot be opened the
// dialog stays open for another choice. Under the list, the device that the chosen COM port
// stands for on this computer can be picked from the serial ports present or typed; OK stores
// it for that COM port, unless an environment variable fixes the port, which is then shown
// and cannot be changed here.
class CPortSettingsDlg : public QDialog
{
    Q_OBJECT

public:
    // Tests list their own ports; by default the system's.
    explicit CPortSettingsDlg(CalibratorLink& link, QWidget* parent = nullptr,
                              const SerialPortEnumerator* ports = nullptr);

    void accept() override;

private:
    void ShowDevice();

    CalibratorLink& link;
    QComboBox* portList = nullptr;
    SerialDeviceBox* deviceBox = nullptr;
};
