// SPDX-License-Identifier: MIT
#include "ui/metercheck/window/CMeterCheckDlg.h"

#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/run/MeasureProcedure.h"
#include "core/base/RecentFileList.h"
#include "ui/base/DialogUnits.h"
#include "ui/history/HistoryMenu.h"
#include "ui/history/QueueStatusLabel.h"
#include "ui/history/RunRecording.h"
#include "ui/metercheck/charts/CErrorsChartPage.h"
#include "ui/metercheck/charts/CPointsChartPage.h"
#include "ui/metercheck/report/OutputCommands.h"
#include "ui/metercheck/run/MeasurementDialogs.h"
#include "ui/metercheck/window/CRangesPage.h"
#include "ui/metercheck/window/ScreenDialogs.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

CMeterCheckDlg::CMeterCheckDlg(CalibratorLink& link, MeterCheckSession& session,
                               const ProgramServices& services, QWidget* parent,
                               MeterCheckDialogRunner* dialogs, MeterCheckPort* port)
    : QDialog(parent), session(session), services(services), linkSession(link),
      ownPort(port ? nullptr : LinkMeterCheckPort(linkSession)),
      ownDialogs(dialogs ? nullptr
                         : std::make_unique<ScreenDialogs>(session, services.messages, this)),
      dialogs(dialogs ? *dialogs : *ownDialogs),
      commands(session, *this, this->dialogs, port ? *port : *ownPort, services.messages, this)
{
    setWindowTitle(MeterCheckCommands::WindowCaption());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    resize(DialogUnits::Size(530, 327));
    BuildMenu();
    BuildTabs();
    commands.OnInitDialog();
}

CMeterCheckDlg::~CMeterCheckDlg() = default;

void CMeterCheckDlg::BuildMenu()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    fileMenu = menuBar->addMenu(QStringLiteral("P&lik")); // Alt+P belongs to "&Pomiary"
    auto add = [this](QMenu* menu, const QString& text, Command command, const char* name,
                      auto handler) {
        QAction* action = menu ? menu->addAction(text) : menuBar->addAction(text);
        action->setData(int(command));
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, [this, handler] {
            const QScopedValueRollback<int> running(runningCommands, runningCommands + 1);
            handler();
        });
        return action;
    };
    add(fileMenu, QStringLiteral("&Nowy..."), Command::New, "newAction",
        [this] { commands.OnNew(); });
    add(fileMenu, QStringLiteral("&Otwórz..."), Command::Open, "openAction",
        [this] { commands.OnOpen(); });
    documentCommands << add(fileMenu, QStringLiteral("&Zapisz"), Command::Save, "saveAction",
                            [this] { commands.OnSave(); })
                     << add(fileMenu, QStringLiteral("Zapi&sz jako..."), Command::SaveAs,
                            "saveAsAction", [this] { commands.OnSaveAs(); })
                     << add(fileMenu, QStringLiteral("&Drukuj..."), Command::Print, "printAction",
                            [this] { OnPrint(); })
                     << add(fileMenu, QStringLiteral("Eksport do E&xcela..."), Command::Export,
                            "exportAction", [this] { OnExport(); })
                     << add(fileMenu, QStringLiteral("&Zamknij"), Command::Close, "closeAction",
                            [this] { commands.OnClose(); });
    fileMenu->addSeparator();
    exitAction = add(fileMenu, QStringLiteral("&Wyjście"), Command::Exit, "exitAction",
                     [this] { commands.OnExit(); });
    documentCommands << add(nullptr, QStringLiteral("&Dane miernika"), Command::MeterData,
                            "meterDataAction", [this] { commands.OnMeterData(); })
                     << add(nullptr, QStringLiteral("&Pomiary"), Command::Measure, "measureAction",
                            [this] { OnMeasure(); });
    AddHistoryMenu(menuBar, session, services.history, services.messages, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
}

void CMeterCheckDlg::BuildTabs()
{
    auto* area = new QWidget(this);
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(0);

    tabs = new QTabBar(area);
    tabs->setObjectName("tabs");
    tabs->setExpanding(false);
    tabs->addTab(QStringLiteral("Tabela"));
    tabs->addTab(QStringLiteral("Wykres punktów"));
    tabs->addTab(QStringLiteral("Wykres błędów"));
    column->addWidget(tabs);

    // The three pages share one place under the tabs; only the chosen one is shown.
    auto* frame = new QWidget(area);
    frame->setObjectName("tabPages");
    frame->setAutoFillBackground(true);
    auto* stack = new QGridLayout(frame);
    stack->setContentsMargins(0, 2, 0, 0);
    rangesPage = new CRangesPage(session, dialogs, frame);
    pointsChart = new CPointsChartPage(session.document, services.messages, frame);
    errorsChart = new CErrorsChartPage(session.document, services.messages, frame);
    pages = {rangesPage, pointsChart, errorsChart};
    for (QWidget* page : pages) {
        stack->addWidget(page, 0, 0);
        page->hide();
    }
    column->addWidget(frame, 1);
    layout()->addWidget(area);
    // Shown only while checks wait for the server.
    layout()->addWidget(new QueueStatusLabel(services.history, this));

    connect(tabs, &QTabBar::currentChanged, this, [this](int t) {
        if (!selectingTab)
            commands.OnSelchangeTab(t);
    });
}

QAction* CMeterCheckDlg::Action(Command command) const
{
    for (QAction* action : findChildren<QAction*>())
        if (action->data().isValid() && action->data().toInt() == int(command) &&
            !recentItems.contains(action))
            return action;
    return nullptr;
}

QList<QAction*> CMeterCheckDlg::RecentFileActions() const
{
    QList<QAction*> items;
    for (QAction* action : recentItems)
        if (!action->isSeparator())
            items << action;
    return items;
}

bool CMeterCheckDlg::OpenHandedDocument(const QString& path)
{
    if (runningCommands > 0 || QApplication::activeModalWidget() != this)
        return false;
    commands.OnOpenFile(path);
    return true;
}

void CMeterCheckDlg::reject()
{
    commands.OnCancel();
}

void CMeterCheckDlg::closeEvent(QCloseEvent* event)
{
    // The close box is Exit: the save question may keep the window open.
    event->ignore();
    commands.OnExit();
}

void CMeterCheckDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMeterCheckDlg::OnMeasure()
{
    MeasurementDialogs measurementDialogs(session, this, linkSession, services.messages);
    MeasureProcedure procedure(session, measurementDialogs, *rangesPage, linkSession,
                               services.messages);
    procedure.OnMeasure();
    RecordMeasurementRun(session, procedure.MeasuredRanges(), services.history, services.messages,
                         this, procedure.CalibratorOverdue());
}

void CMeterCheckDlg::OnPrint()
{
    MeterCheckOutput::OnPrint(session, services.messages, this);
}

void CMeterCheckDlg::OnExport()
{
    MeterCheckOutput::OnExport(session, services.workbookExport, services.workbookOpener, this);
}

void CMeterCheckDlg::SetTitle(const QString& title)
{
    setWindowTitle(title);
}

void CMeterCheckDlg::SetDocumentCommandsEnabled(bool enabled)
{
    for (QAction* action : documentCommands)
        action->setEnabled(enabled);
    menuBar->update();
}

void CMeterCheckDlg::HidePage(Tab tab)
{
    pages[int(tab)]->hide();
}

void CMeterCheckDlg::ShowPage(Tab tab)
{
    pages[int(tab)]->show();
    if (tab == Tab::Table)
        rangesPage->OnShowPage();
}

void CMeterCheckDlg::SelectTab(Tab tab)
{
    selectingTab = true;
    tabs->setCurrentIndex(int(tab));
    selectingTab = false;
}

void CMeterCheckDlg::DrawChart(Tab tab, int range)
{
    if (tab == Tab::PointsChart)
        pointsChart->DrawChart(range);
    else if (tab == Tab::ErrorsChart)
        errorsChart->DrawChart(range);
}

void CMeterCheckDlg::ShowRecentFiles(const QStringList& paths)
{
    for (QAction* action : recentItems) {
        fileMenu->removeAction(action);
        action->deleteLater();
    }
    recentItems.clear();
    if (paths.isEmpty())
        return;
    recentItems << fileMenu->addSeparator();
    for (int n = 0; n < paths.size() && n < RecentFileList::maxEntries; ++n) {
        QAction* item = fileMenu->addAction(RecentFileList::MenuText(n, paths[n]));
        item->setData(int(Command::RecentFile) + n);
        item->setToolTip(paths[n]);
        item->setObjectName(QStringLiteral("recentFile%1").arg(n + 1));
        connect(item, &QAction::triggered, this, [this, n] { commands.OnRecentFile(n); });
        recentItems << item;
    }
}

void CMeterCheckDlg::EndWindow()
{
    QDialog::done(QDialog::Rejected);
}

void RunMeterCheckWindow(CalibratorLink& link, MeterCheckSession& session,
                         const ProgramServices& services, QWidget* parent, const QString& path)
{
    CMeterCheckDlg window(link, session, services, parent);
    if (!path.isEmpty())
        QTimer::singleShot(0, &window, [&window, path] { window.Commands().OnOpenFile(path); });
    window.exec();
}
