// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>

class SerialPortEnumerator;

// An editable drop-down of the serial ports present on this computer. The list is asked for
// again each time it is opened, so an adapter plugged in meanwhile appears; the list shows
// each port with what is known about it, the field holds the path alone, and any typed path
// is taken as it is.
class SerialDeviceBox : public QComboBox
{
    Q_OBJECT

public:
    // The full line of a listed port (SerialPortLabel); the item's text is its path.
    static constexpr int labelRole = Qt::UserRole + 1;

    explicit SerialDeviceBox(const SerialPortEnumerator& ports, QWidget* parent = nullptr);

    // Lists the ports present again; the text in the field stays.
    void RefreshPorts();
    // The path in the field, without surrounding blanks.
    QString Device() const { return currentText().trimmed(); }

    // The width at which the field shows `path` whole.
    int WidthToShow(const QString& path) const;

    void showPopup() override;

private:
    const SerialPortEnumerator& ports;
};
