// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/DueDates.h"
#include "core/history/HistoryStore.h"

#include <QDialog>

class DriftChartView;
class HistoryService;
class MessageService;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

// "Historia sprawdzeń": the meters checked (with a filter), the checks of the chosen meter,
// the points of the chosen check (with each point's statement under the check's decision rule
// and its TUR, flagged under the check's threshold), the check's link in the chain, its marks
// and notes, and the drift of its range; the report of a stored check printed again with its
// own date, and the shown checks exported to CSV. A meter's due interval is set here, and the
// tab "Do sprawdzenia" lists the meters overdue or due soon. Everything is read and written on
// the history's worker thread: the window stays responsive on a slow server.
class HistoryWindow : public QDialog
{
    Q_OBJECT

public:
    // `openDocument`: the meter check's document, which a printed PDF file never replaces.
    HistoryWindow(HistoryService& history, MessageService& messages, QWidget* parent = nullptr,
                  const QString& openDocument = QString());
    ~HistoryWindow() override;

    // Opened alone (`r718 --history`): closing the window ends the program, so it asks first
    // while checks wait for the server, as the main menu's "Koniec" does.
    void SetEndsTheProgram(bool ends) { endsTheProgram = ends; }
    void reject() override;

    // True once the list of meters has come (or failed to come).
    bool MetersLoaded() const { return metersLoaded; }
    // True once the checks of the chosen meter have come.
    bool ChecksLoaded() const { return checksLoaded; }
    // The check chosen in the list, or nullptr.
    const CheckRecord* ChosenCheck() const;
    // The checks listed for the chosen meter, newest first.
    const QList<CheckRecord>& ShownChecks() const { return checks; }

    // Prints the report of the chosen check on this printer (the button asks for one first);
    // `writtenFile`, when given, gets the PDF file written (empty when none).
    bool PrintChosenCheck(QPrinter& printer, QString* writtenFile = nullptr);
    // Writes the shown checks to a CSV file (the button asks for the name first).
    bool ExportShownChecks(const QString& path);

    // Adds a mark or a note to the chosen check (the button asks for them first); the checks
    // are read again once it is stored. False when no check is chosen.
    bool AddNoteToChosenCheck(CheckMark mark, const QString& text);
    // Sets the chosen meter's due interval in months (0: none). False without a meter.
    bool SetChosenMeterInterval(int months);
    // True once the meters' intervals have come (or failed to come).
    bool IntervalsLoaded() const { return intervalsLoaded; }
    // The meters listed under "Do sprawdzenia".
    const QList<DueMeter>& DueList() const { return due; }

private:
    void LoadMeters();
    void ShowMeters();
    void OnMeterChosen();
    // Reads the chosen meter's checks and chooses the one of `checkId` (the newest without).
    void LoadChecks(const QString& checkId);
    void LoadIntervals();
    void ShowDue();
    void ShowChosenInterval();
    void OnDueChosen();
    void OnAddNote();
    void OnSetInterval();
    void ShowNotes(const CheckRecord* check);
    void OnCheckChosen();
    void OnPointChosen();
    void OnPrint();
    void OnExport();
    void ShowStatus(const QString& text);
    // A read's failure in a box; the same failure again shows none.
    void ShowReadError(const QString& error);
    // "<what> zapisano w pliku:" and the file, as after a printed report's PDF file.
    void ShowWrittenFile(const QString& what, const QString& file);

    HistoryService& history;
    MessageService& messages;
    QLineEdit* filterEdit = nullptr;
    QTableWidget* metersTable = nullptr;
    QTableWidget* checksTable = nullptr;
    QTableWidget* pointsTable = nullptr;
    DriftChartView* driftChart = nullptr;
    QLabel* detailsLabel = nullptr; // the computer and the user of the chosen check
    QLabel* sealLabel = nullptr;    // its rule, TUR threshold, calibrator and link's hash
    QTableWidget* notesTable = nullptr;
    QPushButton* noteButton = nullptr;
    QTabWidget* meterTabs = nullptr;
    QSpinBox* intervalSpin = nullptr;
    QPushButton* intervalButton = nullptr;
    QSpinBox* dueDaysSpin = nullptr;
    QTableWidget* dueTable = nullptr;
    QPushButton* printButton = nullptr;
    QPushButton* exportButton = nullptr;
    QLabel* status = nullptr;
    bool endsTheProgram = false;
    QList<MeterSummary> meters;
    QList<MeterSummary> shownMeters;
    QList<CheckRecord> checks;
    int request = 0; // answers to an older choice of meter are dropped
    bool metersLoaded = false;
    bool checksLoaded = false;
    QList<MeterInterval> intervals;
    QList<DueMeter> due;
    bool intervalsLoaded = false;
    QString openDocument;
    QString shownReadError;
};
