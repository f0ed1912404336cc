// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerSession.h"

#include <QDialog>

#include <functional>
#include <memory>

class CalibratorLink;
class CommandSender;
class LinkSession;
class MessageService;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class RunClock;
class TransducerErrorChart;
struct TransducerForm;

// The transducer check window: the definition on the left; on the right the runs before and
// after adjustment, the adjustment hold at 0 % or 100 %, the live output with its error, the
// table of points and the error chart filling as the points come. The rules are
// TransducerSession's; this class shows them and hands over what the technician did.
class CTransducerDlg : public QDialog
{
    Q_OBJECT

public:
    // The program's window: the calibrator through its own session of the link.
    CTransducerDlg(CalibratorLink& link, MessageService& messages, QWidget* parent = nullptr);
    // For tests: the commands go to `sender`, time is `clock`'s; `openPort` runs when the
    // window starts, `closePort` when it ends.
    CTransducerDlg(CommandSender& sender, RunClock& clock, std::function<void()> openPort,
                   std::function<void()> closePort, MessageService& messages,
                   QWidget* parent = nullptr);
    ~CTransducerDlg() override;

    TransducerSession& Session() { return session; }
    // Opens the document at path (a message when it cannot be read).
    bool OpenFile(const QString& path);
    // A document handed over by a later start of the program: opened (after the question
    // about unsaved changes) when the window is idle and nothing is open over it; false when
    // it cannot be taken now.
    bool OpenHandedDocument(const QString& path);

    void reject() override;

private:
    CTransducerDlg(std::unique_ptr<LinkSession> session, int port, MessageService& messages,
                   QWidget* parent);
    void BuildWindow();
    QWidget* BuildDefinition();
    void ShowDocument();
    TransducerForm Form() const;
    // The fields into the session's document; false (after the message) when one is refused.
    bool TakeDefinition();
    void StartRun(RunKind kind);
    void HoldAt(double percent);
    void OnMode();
    void OnReading(const LiveReading& reading);
    void OnRunEnded(RunKind kind, RunEnd end);
    void FillResults();
    void UpdateTitle();
    void UpdateFunctionFields();
    void NewDocument();
    void Open();
    bool Save(bool choosePath);
    // Where an output goes, asked beside the document; empty when cancelled or nothing was
    // measured yet (said).
    QString OutputPath(const QString& caption, const QString& suffix, const QString& filter);
    void SaveCertificate();
    void SaveWorkbook();
    // The changes saved, dropped or kept (false: the technician cancelled).
    bool ConfirmDiscard();
    QWidget* FieldWidget(TransducerField field) const;

    QPushButton* asFoundButton;
    QPushButton* asLeftButton;
    QPushButton* holdZeroButton;
    QPushButton* holdSpanButton;
    QPushButton* stopButton;
    QLabel* liveLabel;
    QLabel* statusLabel;
    QTableWidget* table;
    std::unique_ptr<LinkSession> ownSession;
    CommandSender& sender;
    std::function<void()> closePort;
    MessageService& messages;
    TransducerSession session;

    QLineEdit* tag;
    QLineEdit* name;
    QLineEdit* serial;
    QLineEdit* maker;
    QLineEdit* model;
    QLineEdit* notes;
    QComboBox* inputFunction;
    QComboBox* junction;
    QLineEdit* referenceTemperature;
    QLineEdit* leadResistance;
    QLineEdit* inputLower;
    QLineEdit* inputUpper;
    QComboBox* outputRange;
    QLineEdit* outputLower;
    QLineEdit* outputUpper;
    QComboBox* transfer;
    QLineEdit* cutoff;
    QLineEdit* percentOfSpan;
    QLineEdit* percentOfReading;
    QLineEdit* points;
    QLineEdit* settling;
    QLineEdit* readings;
    QWidget* definition;
    QList<QPushButton*> fileButtons;
    TransducerErrorChart* chart;
};

// Runs the window modally for the main menu.
// Runs the window modally for the main menu; `document`, when given, is opened first.
void RunTransducerWindow(CalibratorLink& link, MessageService& messages, QWidget* parent,
                         const QString& document = QString());
