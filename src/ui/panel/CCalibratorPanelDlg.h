// SPDX-License-Identifier: MIT
#pragma once

#include "core/panel/PanelKeys.h"
#include "core/panel/PanelPort.h"

#include <QDialog>
#include <QTimer>

#include <memory>

class CalibratorLink;
class ColorButton;
class CommandSender;
class LinkSession;
class MessageService;
class MeterHalf;
class ParamPrompt;
class SourceHalf;

// The remote front panel of the calibrator: the measure half ("METER") on the left, the
// source half ("SOURCE") on the right, "RESET" between them. Opening sets up the link and
// switches the calibrator to operate; closing asks first. Every key-down in the window is
// looked at by the panel before the focused control gets it.
class CCalibratorPanelDlg : public QDialog
{
    Q_OBJECT

public:
    CCalibratorPanelDlg(CalibratorLink& link, MessageService& messages, QWidget* parent = nullptr);
    // For tests: another command sender and port, and a scripted parameter prompt for the
    // source half (nullptr: the parameter dialog).
    CCalibratorPanelDlg(CommandSender& sender, const PanelPort& port, ParamPrompt* prompt,
                        MessageService& messages, QWidget* parent = nullptr);
    ~CCalibratorPanelDlg() override;

    static constexpr int pollIntervalMs = 500;

    const QTimer& PollTimer() const { return pollTimer; }

    // The whole-panel reset ("RESET", Delete key).
    void ResetPanel();

    // Enter never closes the panel.
    void accept() override {}
    // Esc and the close box: the closing question.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CCalibratorPanelDlg(std::unique_ptr<LinkSession> session, int portNumber,
                        MessageService& messages, QWidget* parent);
    void OnInitDialog();
    void HandleKey(const PanelKeyAction& action);

    // The panel's way to the link in the program (none in tests). Going before the halves,
    // it takes their pending callbacks with it.
    std::unique_ptr<LinkSession> session;
    CommandSender& sender;
    PanelPort port;
    MessageService& messages;
    SourceHalf* source = nullptr;
    MeterHalf* meter = nullptr;
    ColorButton* resetButton = nullptr;
    QTimer pollTimer;
    bool opened = false;
};
