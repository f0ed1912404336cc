// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramSession.h"

#include <QDialog>

#include <functional>
#include <memory>

class CalibratorLink;
class CommandSender;
class LinkSession;
class MessageService;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class QTimer;
class RunClock;
class ProgramChart;
struct ProgramForm;

// The source program window: the program's editor on the left (source function, measure
// range, trip condition, the segments); on the right the run (start, pause, resume, stop),
// the planned time and the time left, the chart of the planned course with the values set and
// the readings filling in, and the trip points. The rules are ProgramSession's; this class
// shows them and hands over what the technician did.
class CProgramDlg : public QDialog
{
    Q_OBJECT

public:
    // The program's window: the calibrator through its own session of the link.
    CProgramDlg(CalibratorLink& link, MessageService& messages, QWidget* parent = nullptr);
    // For tests: the commands go to `sender`, time is `clock`'s; `openPort` runs when the
    // window starts, `closePort` when it ends.
    CProgramDlg(CommandSender& sender, RunClock& clock, std::function<void()> openPort,
                std::function<void()> closePort, MessageService& messages,
                QWidget* parent = nullptr);
    ~CProgramDlg() override;

    ProgramSession& Session() { return session; }
    // Opens the program at path (a message when it cannot be read).
    bool OpenFile(const QString& path);

    void reject() override;

private:
    CProgramDlg(std::unique_ptr<LinkSession> session, int port, MessageService& messages,
                QWidget* parent);
    void BuildWindow();
    QWidget* BuildEditor();
    void AddSegmentRow(int row, const ProgramSegment& segment);
    void ShowDocument();
    ProgramForm Form() const;
    // The fields into the session's program; false (after the message) when one is refused.
    bool TakeDefinition();
    // While typing: a program that reads is taken at once, so the plan shows it.
    void OnEdited();
    void UpdateSourceFields();
    void MoveSegment(int by);
    void StartRun();
    void OnState();
    void OnLogged(const ProgramLogEntry& entry);
    void OnRunEnded(ProgramEnd end);
    void ShowProgress();
    void FillChart();
    void FillTrips();
    void UpdateTitle();
    void NewDocument();
    void Open();
    bool Save(bool choosePath);
    // Where an output goes, asked beside the program; empty when cancelled or nothing ran
    // yet (said).
    QString OutputPath(const QString& caption, const QString& suffix, const QString& filter);
    void SaveLog();
    void SaveWorkbook();
    void SaveReport();
    bool ConfirmDiscard();
    QWidget* FieldWidget(const ProgramProblem& problem) const;

    std::unique_ptr<LinkSession> ownSession;
    std::function<void()> closePort;
    MessageService& messages;
    ProgramSession session;
    bool filling = false; // the fields are being filled from the program
    QString lastReading;  // of the run going on

    QWidget* editor;
    QLineEdit* name;
    QLineEdit* notes;
    QComboBox* sourceFunction;
    QComboBox* junction;
    QLineEdit* referenceTemperature;
    QCheckBox* leadResistanceOn;
    QLineEdit* leadResistance;
    QComboBox* measureRange;
    QCheckBox* tripEnabled;
    QComboBox* tripDirection;
    QLineEdit* tripThreshold;
    QTableWidget* segments;
    QLabel* plannedLabel;

    QPushButton* startButton;
    QPushButton* pauseButton;
    QPushButton* resumeButton;
    QPushButton* stopButton;
    QLabel* timeLabel;
    QLabel* liveLabel;
    QLabel* statusLabel;
    ProgramChart* chart;
    QTableWidget* trips;
    QLabel* spreadLabel;
    QList<QPushButton*> fileButtons;
    QTimer* ticker;
};

// Runs the window modally for the main menu.
void RunProgramWindow(CalibratorLink& link, MessageService& messages, QWidget* parent);
