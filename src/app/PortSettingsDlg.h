// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

// Chooses the COM port (COM1-COM4) of the calibrator. The other line settings are fixed and
// only shown. OK stores the choice and tries the port at once; when it cannot be opened the
// dialog stays open for another choice. Under the list the dialog shows the device that the
// chosen COM port stands for on this computer.
class CPortSettingsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CPortSettingsDlg(QWidget* parent = nullptr);

    QComboBox* PortList() const { return portList; }
    QLabel* DeviceLabel() const { return deviceLabel; }

    void accept() override;

private:
    void ShowDevice();

    QComboBox* portList = nullptr;
    QLabel* deviceLabel = nullptr;
};
