// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/LinkSession.h"
#include "core/metercheck/window/MeterCheckCommands.h"
#include "core/metercheck/window/MeterCheckView.h"
#include "ui/base/ProgramServices.h"

#include <QDialog>

#include <array>
#include <memory>

class CalibratorLink;
struct MeterCheckSession;
class CErrorsChartPage;
class CPointsChartPage;
class CRangesPage;
class QAction;
class QMenu;
class QMenuBar;
class QTabBar;

// The meter check window: the File menu with the recent files, "Dane miernika", "Pomiary",
// and the three tab pages (the ranges and points table and the two charts). The command
// rules are MeterCheckCommands'; the window shows what they decide.
class CMeterCheckDlg : public QDialog, private MeterCheckView
{
    Q_OBJECT

public:
    // The menu commands; each is the data of its menu item. The items of the recent files
    // carry RecentFile + 0 to 3.
    enum class Command
    {
        New,
        Open,
        Save,
        SaveAs,
        Print,
        Export,
        Close,
        Exit,
        MeterData,
        Measure,
        RecentFile,
    };

    // The window works on `session`, which outlives it, with the application's services. Tests
    // pass their own dialogs and port; the program uses the screen and the link (the
    // measurements always go through the link).
    CMeterCheckDlg(CalibratorLink& link, MeterCheckSession& session,
                   const ProgramServices& services, QWidget* parent = nullptr,
                   MeterCheckDialogRunner* dialogs = nullptr, MeterCheckPort* port = nullptr);
    ~CMeterCheckDlg() override;

    QAction* Action(Command command) const;
    QList<QAction*> RecentFileActions() const;
    QWidget* Page(int tab) const { return pages[tab]; }
    MeterCheckCommands& Commands() { return commands; }

    // Opens a document handed over by a later start of the program as a recent file opens (the
    // save question first, a file that cannot be read refused). False, doing nothing, while a
    // command of the window runs (a measurement, a print) or a dialog is open over it.
    bool OpenHandedDocument(const QString& path);

    // Enter does nothing; Esc (reject) closes the port and the window without a question.
    void accept() override {}
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildMenu();
    void BuildTabs();
    void OnMeasure();
    void OnPrint();
    void OnExport();

    // MeterCheckView
    void SetTitle(const QString& title) override;
    void SetDocumentCommandsEnabled(bool enabled) override;
    void HidePage(Tab tab) override;
    void ShowPage(Tab tab) override;
    void SelectTab(Tab tab) override;
    void DrawChart(Tab tab, int range) override;
    void ShowRecentFiles(const QStringList& paths) override;
    void EndWindow() override;

    MeterCheckSession& session;
    ProgramServices services;
    LinkSession linkSession; // the window's way to the link
    std::unique_ptr<MeterCheckPort> ownPort;
    std::unique_ptr<MeterCheckDialogRunner> ownDialogs;
    MeterCheckDialogRunner& dialogs;
    MeterCheckCommands commands;
    QMenuBar* menuBar = nullptr;
    QMenu* fileMenu = nullptr;
    QAction* exitAction = nullptr;
    QList<QAction*> documentCommands;
    QList<QAction*> recentItems;
    QTabBar* tabs = nullptr;
    CRangesPage* rangesPage = nullptr;
    CPointsChartPage* pointsChart = nullptr;
    CErrorsChartPage* errorsChart = nullptr;
    std::array<QWidget*, 3> pages{};
    bool selectingTab = false;
    int runningCommands = 0; // menu commands under way (they may wait in event loops)
};

// The one-line start of the module from the main menu: runs the window on `session` modally over
// `parent`; with a path, the window opens that document once it is on the screen.
void RunMeterCheckWindow(CalibratorLink& link, MeterCheckSession& session,
                         const ProgramServices& services, QWidget* parent,
                         const QString& path = QString());
