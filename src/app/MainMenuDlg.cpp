// SPDX-License-Identifier: MIT
#include "app/MainMenuDlg.h"

#include "app/AboutDlg.h"
#include "app/DialogFont.h"
#include "app/PortSettings.h"
#include "app/PortSettingsDlg.h"
#include "app/ProgramIcon.h"
#include "app/SplashWindow.h"
#include "base/DialogUnits.h"
#include "link/CalibratorLink.h"
#include "metercheck/document/MeterCheckSession.h"
#include "metercheck/window/CMeterCheckDlg.h"
#include "panel/CCalibratorPanelDlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <utility>

namespace {

struct MenuButton
{
    CMainMenuDlg::ButtonId id;
    const char* caption;
    int y;
    bool enabled;
};

// Top to bottom; the focus and the Tab key follow this order.
const MenuButton menuButtons[] = {
    {CMainMenuDlg::IdAbout, "O programie", 15, true},
    {CMainMenuDlg::IdLanguage, "Język", 36, false},
    {CMainMenuDlg::IdPortSettings, "Parametry transmisji", 58, true},
    {CMainMenuDlg::IdVariant, "Wybór wykonania", 80, false},
    {CMainMenuDlg::IdCalibratorPanel, "Sterowanie kalibratora", 102, true},
    {CMainMenuDlg::IdMeterCheck, "Sprawdzanie mierników", 124, true},
    {CMainMenuDlg::IdTransducerCheck, "Sprawdzanie przetworników", 146, false},
    {CMainMenuDlg::IdWaveforms, "Generacja przebiegów", 168, false},
    {CMainMenuDlg::IdMemoryReadout, "Odczyt pamięci", 190, false},
    {CMainMenuDlg::IdEnd, "Koniec", 212, true},
};

} // namespace

CMainMenuDlg::CMainMenuDlg(CalibratorLink& link, MeterCheckSession& meterCheck, QWidget* parent,
                           int startupPauseMs)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      link(link), meterCheck(meterCheck)
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
        button->setProperty("menuId", int(b.id));
        button->setEnabled(b.enabled);
        buttons.append(button);
    }
    connect(Button(IdAbout), &QPushButton::clicked, this, &CMainMenuDlg::RunAbout);
    connect(Button(IdPortSettings), &QPushButton::clicked, this, &CMainMenuDlg::RunPortSettings);
    connect(Button(IdCalibratorPanel), &QPushButton::clicked, this,
            &CMainMenuDlg::RunCalibratorPanel);
    connect(Button(IdMeterCheck), &QPushButton::clicked, this, &CMainMenuDlg::RunMeterCheck);
    connect(Button(IdEnd), &QPushButton::clicked, this, &QDialog::reject);
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

QPushButton* CMainMenuDlg::Button(ButtonId id) const
{
    for (QPushButton* button : buttons)
        if (button->property("menuId").toInt() == id)
            return button;
    return nullptr;
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
    CCalibratorPanelDlg panel(link, this);
    panel.exec();
}

void CMainMenuDlg::RunMeterCheck()
{
    RunMeterCheckWindow(link, meterCheck, this, std::exchange(startDocument, QString()));
}

void CMainMenuDlg::OpenDocumentAtStart(const QString& path)
{
    startDocument = path;
    QTimer::singleShot(0, this, &CMainMenuDlg::RunMeterCheck);
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
