// SPDX-License-Identifier: MIT
#include "ui/app/CMainMenuDlg.h"

#include "core/app/PortSettings.h"
#include "core/base/MessageService.h"
#include "core/history/QueueTexts.h"
#include "core/link/CalibratorLink.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/transducer/TransducerFile.h"
#include "ui/app/CAboutDlg.h"
#include "ui/app/CPortSettingsDlg.h"
#include "ui/app/CSplashWindow.h"
#include "ui/app/DialogFont.h"
#include "ui/app/ProgramIcon.h"
#include "ui/base/DialogUnits.h"
#include "ui/metercheck/window/CMeterCheckDlg.h"
#include "ui/panel/CCalibratorPanelDlg.h"
#include "ui/program/CProgramDlg.h"
#include "ui/transducer/CTransducerDlg.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <utility>

namespace {

struct MenuButton
{
    const char* caption;
    int y;
    bool enabled;
};

// In the order of CMainMenuDlg::Item.
const MenuButton menuButtons[] = {
    {"O programie", 15, true},
    {"Język", 36, false},
    {"Parametry transmisji", 58, true},
    {"Wybór wykonania", 80, false},
    {"Sterowanie kalibratora", 102, true},
    {"Sprawdzanie mierników", 124, true},
    {"Sprawdzanie przetworników", 146, true},
    {"Generacja przebiegów", 168, true},
    {"Odczyt pamięci", 190, false},
    {"Koniec", 212, true},
};

} // namespace

CMainMenuDlg::CMainMenuDlg(CalibratorLink& link, MeterCheckSession& meterCheck,
                           const ProgramServices& services, QWidget* parent, int startupPauseMs)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      link(link), meterCheck(meterCheck), services(services)
{
    CSplashWindow::ShowSplashScreen(this);
    if (startupPauseMs > 0)
        QThread::msleep(startupPauseMs);
    OnInitDialog();
}

CMainMenuDlg::~CMainMenuDlg() = default;

void CMainMenuDlg::OnInitDialog()
{
    setObjectName(QStringLiteral("CMainMenuDlg"));
    setWindowTitle(QStringLiteral("Tevano 718"));
    setFont(DialogFont());
    setWindowIcon(ProgramIcon());
    setFixedSize(DialogUnits::Size(319, 242));
    // Painted completely by paintEvent; nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);

    for (const MenuButton& b : menuButtons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setGeometry(DialogUnits::Rect(20, b.y, 114, 14));
        button->setAutoDefault(false);
        button->setEnabled(b.enabled);
        buttons.append(button);
    }
    const std::pair<Item, void (CMainMenuDlg::*)()> modules[] = {
        {Item::About, &CMainMenuDlg::RunAbout},
        {Item::PortSettings, &CMainMenuDlg::RunPortSettings},
        {Item::CalibratorPanel, &CMainMenuDlg::RunCalibratorPanel},
        {Item::MeterCheck, &CMainMenuDlg::RunMeterCheck},
        {Item::TransducerCheck, &CMainMenuDlg::RunTransducerCheck},
        {Item::Waveforms, &CMainMenuDlg::RunWaveforms},
    };
    for (const auto& [item, run] : modules)
        connect(Button(item), &QPushButton::clicked, this, [this, run = run] { RunModule(run); });
    connect(Button(Item::End), &QPushButton::clicked, this, &QDialog::reject);
    buttons.first()->setFocus();

    // A missing picture leaves the plain window colour; no message.
    background.Load(QStringLiteral("TLO"), QStringLiteral("JPEG"));

    link.SetPortNumber(PortSettings::StartupPortNumber());
    meterCheck.document.formatVersion = 1.0;

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void CMainMenuDlg::RunAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CMainMenuDlg::RunPortSettings()
{
    CPortSettingsDlg settings(link, this);
    settings.exec();
}

void CMainMenuDlg::RunCalibratorPanel()
{
    CCalibratorPanelDlg panel(link, services.messages, this);
    panel.exec();
}

void CMainMenuDlg::RunMeterCheck()
{
    RunMeterCheckWindow(link, meterCheck, services, this, std::exchange(startDocument, QString()));
}

void CMainMenuDlg::RunTransducerCheck()
{
    RunTransducerWindow(link, services.messages, this, std::exchange(startDocument, QString()));
}

void CMainMenuDlg::RunWaveforms()
{
    RunProgramWindow(link, services.messages, this);
}

void CMainMenuDlg::RunModule(void (CMainMenuDlg::*run)())
{
    const QScopedValueRollback<bool> running(moduleRunning, true);
    (this->*run)();
}

void CMainMenuDlg::OpenDocumentAtStart(const QString& path)
{
    QTimer::singleShot(0, this, [this, path] { OpenDocument(path); });
}

void CMainMenuDlg::OnAnotherStart(const QString& document)
{
    QWidget* top = QApplication::activeModalWidget();
    if (!top)
        top = this;
    // The window the user works in comes forward; where the desktop refuses to hand over the
    // focus, the taskbar entry asks for attention.
    if (top->isMinimized())
        top->showNormal();
    top->raise();
    top->activateWindow();
    QApplication::alert(top);
    if (!document.isEmpty())
        OpenDocument(document);
}

void CMainMenuDlg::OpenDocument(const QString& document)
{
    const bool transducer = TransducerFile::IsTransducerPath(document);
    if (!moduleRunning) {
        startDocument = document;
        RunModule(transducer ? &CMainMenuDlg::RunTransducerCheck : &CMainMenuDlg::RunMeterCheck);
        return;
    }
    if (transducer) {
        auto* window = findChild<CTransducerDlg*>(QString(), Qt::FindDirectChildrenOnly);
        if (window && window->OpenHandedDocument(document))
            return;
    } else {
        auto* window = findChild<CMeterCheckDlg*>(QString(), Qt::FindDirectChildrenOnly);
        if (window && window->OpenHandedDocument(document))
            return;
    }
    // Opening it later, unasked, could land in the middle of other work: the user opens it
    // again when done.
    QWidget* top = QApplication::activeModalWidget();
    if (!top)
        top = this;
    services.messages.Show(QStringLiteral("Nie można teraz otworzyć pliku:\n%1\n"
                                          "Zakończ pracę w oknie „%2” i otwórz plik ponownie.")
                               .arg(QDir::toNativeSeparators(document), top->windowTitle()),
                           windowTitle(), MessageIcon::Warning, MessageButtons::Ok, top);
}

void CMainMenuDlg::reject()
{
    // What waits stays in this computer's queue; the user ends knowing that.
    const int waiting = services.history.Queue().waiting;
    if (waiting > 0 &&
        services.messages.AskQuestion(ExitWithWaitingQuestion(waiting), windowTitle(),
                                      MessageButtons::YesNo, this) != MessageAnswer::Yes)
        return;
    QDialog::reject();
}

void CMainMenuDlg::paintEvent(QPaintEvent* event)
{
    // Qt paints into a back buffer and shows the result in one step, so there is no flicker;
    // only the region that needs it is repainted.
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    background.Render(painter, 0, 0, width(), height());
}

void CMainMenuDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
