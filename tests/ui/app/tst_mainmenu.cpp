// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "HistoryTestData.h"
#include "ModalHelper.h"
#include "TestServices.h"

#include "core/link/CalibratorLink.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "ui/app/CAboutDlg.h"
#include "ui/app/CCalibratorApp.h"
#include "ui/app/CMainMenuDlg.h"
#include "ui/app/CPortSettingsDlg.h"
#include "ui/app/CResourcePicture.h"
#include "ui/app/CSplashWindow.h"
#include "ui/app/ProgramIcon.h"
#include "ui/base/DialogUnits.h"
#include "ui/program/CProgramDlg.h"
#include "ui/transducer/CTransducerDlg.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTest>

namespace {

// The menu with its modules replaced by counters.
class RecordingMenu : public CMainMenuDlg
{
public:
    RecordingMenu(CalibratorLink& link, MeterCheckSession& meterCheck, TestServices& services)
        : CMainMenuDlg(link, meterCheck, services, nullptr, 0)
    {}
    QStringList started;

protected:
    void RunAbout() override { started << QStringLiteral("about"); }
    void RunPortSettings() override { started << QStringLiteral("port"); }
    void RunCalibratorPanel() override { started << QStringLiteral("panel"); }
    void RunMeterCheck() override { started << QStringLiteral("metercheck"); }
    void RunTransducerCheck() override { started << QStringLiteral("transducer"); }
    void RunWaveforms() override { started << QStringLiteral("waveforms"); }
};

void ClearSettings()
{
    QSettings(QStringLiteral("Modrex"), QStringLiteral("R718")).clear();
    QSettings(QStringLiteral("Modrex"), QStringLiteral("Tevano 718")).clear();
}

void ShowActive(QWidget& w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

} // namespace

class TestMainMenu : public QObject
{
    Q_OBJECT

    TestServices services;
    CalibratorLink link{services.messages}; // the modules' link; the menu never touches the port
    MeterCheckSession meterCheck;

private slots:
    void init();
    void cleanup();

    void buttonsInTheirPlaces_data();
    void buttonsInTheirPlaces();
    void fixedCentredWindow();
    void disabledButtonsStayDisabled();
    void enterDoesNothing();
    void endingTheMenu_data();
    void endingTheMenu();
    void endingWithChecksWaiting();
    void keyboardWalksTheEnabledButtons();
    void spacePressesTheFocusedButton();
    void buttonsStartTheirModules();
    void realModulesOpenAndClose();
    void portNumberAtStart_data();
    void portNumberAtStart();
    void documentFormatVersion();
    void backgroundPictureFillsTheWindow();
    void artworkInTheResources();
    void resourcePictureFailures();
    void startupPicture();
    void startupPause();
    void splashAllowedByCommandLine_data();
    void splashAllowedByCommandLine();
};

void TestMainMenu::init()
{
    ClearSettings();
    CSplashWindow::pictureAllowed = false;
}

void TestMainMenu::cleanup()
{
    ClearSettings();
    CSplashWindow::pictureAllowed = false;
}

void TestMainMenu::buttonsInTheirPlaces_data()
{
    DataColumns<int, QString, int, bool>("item", "caption", "y", "enabled");
    DataRow("about", int(CMainMenuDlg::Item::About), "O programie", 15, true);
    DataRow("language", int(CMainMenuDlg::Item::Language), "Język", 36, false);
    DataRow("port settings", int(CMainMenuDlg::Item::PortSettings), "Parametry transmisji", 58,
            true);
    DataRow("variant", int(CMainMenuDlg::Item::Variant), "Wybór wykonania", 80, false);
    DataRow("calibrator panel", int(CMainMenuDlg::Item::CalibratorPanel), "Sterowanie kalibratora",
            102, true);
    DataRow("meter check", int(CMainMenuDlg::Item::MeterCheck), "Sprawdzanie mierników", 124, true);
    DataRow("transducers", int(CMainMenuDlg::Item::TransducerCheck), "Sprawdzanie przetworników",
            146, true);
    DataRow("waveforms", int(CMainMenuDlg::Item::Waveforms), "Generacja przebiegów", 168, true);
    DataRow("memory", int(CMainMenuDlg::Item::MemoryReadout), "Odczyt pamięci", 190, false);
    DataRow("end", int(CMainMenuDlg::Item::End), "Koniec", 212, true);
}

void TestMainMenu::buttonsInTheirPlaces()
{
    QFETCH(int, item);
    QFETCH(QString, caption);
    QFETCH(int, y);
    QFETCH(bool, enabled);
    CMainMenuDlg menu(link, meterCheck, services, nullptr, 0);
    QPushButton* button = menu.Button(CMainMenuDlg::Item(item));
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->geometry(), DialogUnits::Rect(20, y, 114, 14));
    QCOMPARE(button->isEnabled(), enabled);
    // The whole caption fits on the button.
    QVERIFY(button->fontMetrics().horizontalAdvance(caption) < button->width() - 8);
    QCOMPARE(menu.findChildren<QPushButton*>().size(), 10);
}

void TestMainMenu::fixedCentredWindow()
{
    CMainMenuDlg menu(link, meterCheck, services, nullptr, 0);
    QCOMPARE(menu.windowTitle(), QStringLiteral("Tevano 718"));
    QCOMPARE(menu.size(), DialogUnits::Size(319, 242));
    QCOMPARE(menu.minimumSize(), menu.maximumSize());
    QVERIFY(!(menu.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(menu.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!menu.windowIcon().isNull());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(menu.geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(menu.geometry().center().y() - screen.center().y()) <= 1);
}

void TestMainMenu::disabledButtonsStayDisabled()
{
    RecordingMenu menu(link, meterCheck, services);
    ShowActive(menu);
    const QList<CMainMenuDlg::Item> disabled = {CMainMenuDlg::Item::Language,
                                                CMainMenuDlg::Item::Variant,
                                                CMainMenuDlg::Item::MemoryReadout};
    for (CMainMenuDlg::Item id : disabled) {
        QTest::mouseClick(menu.Button(id), Qt::LeftButton);
        QVERIFY(!menu.Button(id)->isEnabled());
    }
    QVERIFY(menu.started.isEmpty());
    // Running every module leaves them disabled.
    for (auto id : {CMainMenuDlg::Item::About, CMainMenuDlg::Item::PortSettings,
                    CMainMenuDlg::Item::CalibratorPanel, CMainMenuDlg::Item::MeterCheck,
                    CMainMenuDlg::Item::TransducerCheck, CMainMenuDlg::Item::Waveforms})
        menu.Button(id)->click();
    for (CMainMenuDlg::Item id : disabled)
        QVERIFY(!menu.Button(id)->isEnabled());
    QVERIFY(menu.isVisible());
}

void TestMainMenu::enterDoesNothing()
{
    RecordingMenu menu(link, meterCheck, services);
    ShowActive(menu);
    for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QTest::keyClick(&menu, key);
    }
    QVERIFY(menu.isVisible());
    QVERIFY(menu.started.isEmpty());
    QCOMPARE(menu.result(), 0);
}

void TestMainMenu::endingTheMenu_data()
{
    QTest::addColumn<QString>("how");
    DataRow("Esc", "esc");
    DataRow("close box", "close");
    DataRow("Koniec", "end");
}

void TestMainMenu::endingTheMenu()
{
    QFETCH(QString, how);
    RecordingMenu menu(link, meterCheck, services);
    QTimer::singleShot(0, &menu, [&] {
        if (how == QLatin1String("esc"))
            QTest::keyClick(menu.focusWidget(), Qt::Key_Escape);
        else if (how == QLatin1String("close"))
            menu.close();
        else
            QTest::mouseClick(menu.Button(CMainMenuDlg::Item::End), Qt::LeftButton);
    });
    QTimer::singleShot(3000, &menu, [&] { menu.done(99); }); // fails the test, never hangs it
    QCOMPARE(menu.exec(), int(QDialog::Rejected));
    QVERIFY(menu.started.isEmpty());
}

// Checks waiting for the server: the end asks, "Nie" keeps the program, "Tak" ends it.
void TestMainMenu::endingWithChecksWaiting()
{
    qputenv("R718_HISTORY", "postgresql:///lab?host=/nonexistent-r718");
    const auto forget = qScopeGuard([this] {
        qunsetenv("R718_HISTORY");
        ForgetLocalHistory();
        services.history.SendQueued().waitForFinished();
        QTRY_COMPARE(services.history.Queue().waiting, 0);
        services.messages.messages.clear();
    });
    services.history.Record({SampleCheck("M", "1", QDateTime::currentDateTime())})
        .waitForFinished();
    QTRY_COMPARE(services.history.Queue().waiting, 1);

    RecordingMenu menu(link, meterCheck, services);
    menu.show();
    services.messages.answers << MessageAnswer::No << MessageAnswer::Yes;
    menu.reject();
    QVERIFY(menu.isVisible());
    QCOMPARE(services.messages.Texts().size(), 1);
    QVERIFY2(services.messages.Texts()[0].startsWith(
                 "Sprawdzenia czekające na wysłanie do serwera bazy danych: 1."),
             qPrintable(services.messages.Texts()[0]));
    menu.reject();
    QVERIFY(!menu.isVisible());
    QCOMPARE(menu.result(), int(QDialog::Rejected));
}

void TestMainMenu::keyboardWalksTheEnabledButtons()
{
    RecordingMenu menu(link, meterCheck, services);
    ShowActive(menu);
    QCOMPARE(QApplication::focusWidget(), menu.Button(CMainMenuDlg::Item::About));
    const QList<CMainMenuDlg::Item> order = {
        CMainMenuDlg::Item::PortSettings, CMainMenuDlg::Item::CalibratorPanel,
        CMainMenuDlg::Item::MeterCheck,   CMainMenuDlg::Item::TransducerCheck,
        CMainMenuDlg::Item::Waveforms,    CMainMenuDlg::Item::End,
        CMainMenuDlg::Item::About};
    for (CMainMenuDlg::Item id : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), menu.Button(id));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), menu.Button(CMainMenuDlg::Item::End));
}

void TestMainMenu::spacePressesTheFocusedButton()
{
    RecordingMenu menu(link, meterCheck, services);
    ShowActive(menu);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(menu.started, QStringList({QStringLiteral("about"), QStringLiteral("port")}));
    QVERIFY(menu.isVisible());
}

void TestMainMenu::buttonsStartTheirModules()
{
    RecordingMenu menu(link, meterCheck, services);
    ShowActive(menu);
    QTest::mouseClick(menu.Button(CMainMenuDlg::Item::CalibratorPanel), Qt::LeftButton);
    QTest::mouseClick(menu.Button(CMainMenuDlg::Item::MeterCheck), Qt::LeftButton);
    QTest::mouseClick(menu.Button(CMainMenuDlg::Item::TransducerCheck), Qt::LeftButton);
    QTest::mouseClick(menu.Button(CMainMenuDlg::Item::Waveforms), Qt::LeftButton);
    QTest::mouseClick(menu.Button(CMainMenuDlg::Item::PortSettings), Qt::LeftButton);
    QTest::mouseClick(menu.Button(CMainMenuDlg::Item::About), Qt::LeftButton);
    QCOMPARE(menu.started, QStringList({QStringLiteral("panel"), QStringLiteral("metercheck"),
                                        QStringLiteral("transducer"), QStringLiteral("waveforms"),
                                        QStringLiteral("port"), QStringLiteral("about")}));
}

void TestMainMenu::realModulesOpenAndClose()
{
    CMainMenuDlg menu(link, meterCheck, services, nullptr, 0);
    ShowActive(menu);
    bool aboutSeen = false;
    OnModal<CAboutDlg>(aboutSeen, [](CAboutDlg* about) { about->reject(); });
    menu.Button(CMainMenuDlg::Item::About)->click();
    QVERIFY(aboutSeen);
    bool portSeen = false;
    OnModal<CPortSettingsDlg>(portSeen, [](CPortSettingsDlg* port) { port->reject(); });
    menu.Button(CMainMenuDlg::Item::PortSettings)->click();
    QVERIFY(portSeen);
    bool transducerSeen = false;
    OnModal<CTransducerDlg>(transducerSeen, [](CTransducerDlg* window) { window->reject(); });
    menu.Button(CMainMenuDlg::Item::TransducerCheck)->click();
    QVERIFY(transducerSeen);
    bool programSeen = false;
    OnModal<CProgramDlg>(programSeen, [](CProgramDlg* window) { window->reject(); });
    menu.Button(CMainMenuDlg::Item::Waveforms)->click();
    QVERIFY(programSeen);
    QVERIFY(menu.isVisible());
}

void TestMainMenu::portNumberAtStart_data()
{
    QTest::addColumn<QVariant>("dialogIndex"); // R718, Com/Port
    QTest::addColumn<QVariant>("olderValue");  // Tevano 718, Port
    QTest::addColumn<int>("expected");
    DataRow("nothing stored: COM1", QVariant(), QVariant(), 1);
    DataRow("older key 2: COM3", QVariant(), QVariant(2), 3);
    DataRow("older key 0: COM1", QVariant(), QVariant(0), 1);
    DataRow("dialog key 1: COM2", QVariant(1), QVariant(), 2);
    DataRow("dialog key wins over older key", QVariant(3), QVariant(1), 4);
    DataRow("dialog key 0 wins over older key", QVariant(0), QVariant(2), 1);
    DataRow("dialog key not a number: older key", QVariant(QStringLiteral("abc")), QVariant(2), 3);
    DataRow("older key not a number: COM1", QVariant(), QVariant(QStringLiteral("x")), 1);
}

void TestMainMenu::portNumberAtStart()
{
    QFETCH(QVariant, dialogIndex);
    QFETCH(QVariant, olderValue);
    QFETCH(int, expected);
    if (dialogIndex.isValid())
        QSettings(QStringLiteral("Modrex"), QStringLiteral("R718"))
            .setValue(QStringLiteral("Com/Port"), dialogIndex);
    if (olderValue.isValid())
        QSettings(QStringLiteral("Modrex"), QStringLiteral("Tevano 718"))
            .setValue(QStringLiteral("Port"), olderValue);
    link.SetPortNumber(77);
    CMainMenuDlg menu(link, meterCheck, services, nullptr, 0);
    QCOMPARE(link.PortNumber(), expected);
}

void TestMainMenu::documentFormatVersion()
{
    meterCheck.document.formatVersion = 0.0;
    CMainMenuDlg menu(link, meterCheck, services, nullptr, 0);
    QCOMPARE(meterCheck.document.formatVersion, 1.0);
}

void TestMainMenu::backgroundPictureFillsTheWindow()
{
    CResourcePicture picture;
    QVERIFY(picture.Load(QStringLiteral("TLO"), QStringLiteral("JPEG")));
    QVERIFY(picture.IsLoaded());

    CMainMenuDlg menu(link, meterCheck, services, nullptr, 0);
    const QImage shot = menu.grab().toImage();
    QImage expected(menu.size(), QImage::Format_RGB32);
    {
        QPainter painter(&expected);
        QVERIFY(picture.Render(painter, 0, 0, menu.width(), menu.height()));
    }
    // Corners and the right-hand half show the picture stretched over the whole window.
    for (QPoint p :
         {QPoint(2, 2), QPoint(menu.width() - 3, 2), QPoint(menu.width() - 3, menu.height() - 3),
          QPoint(2, menu.height() - 3), QPoint(menu.width() * 3 / 4, menu.height() / 2)})
        QCOMPARE(shot.pixelColor(p), expected.pixelColor(p));
    // The picture is not the plain window colour.
    QVERIFY(shot.pixelColor(2, 2) != menu.palette().window().color());
}

void TestMainMenu::artworkInTheResources()
{
    QFile background(QStringLiteral(":/JPEG/TLO"));
    QVERIFY(background.open(QIODevice::ReadOnly));
    QVERIFY(background.read(3) == QByteArray("\xFF\xD8\xFF")); // a JPEG file
    QCOMPARE(QImage(QStringLiteral(":/JPEG/TLO")).size(), DialogUnits::Size(319, 242) * 2);
    QCOMPARE(QImage(QStringLiteral(":/bitmap/startup")).size(), QSize(480, 300));
    const QIcon icon = ProgramIcon();
    for (int size : {16, 32, 48, 256})
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
}

void TestMainMenu::resourcePictureFailures()
{
    CResourcePicture picture;
    QVERIFY(!picture.Load(QStringLiteral("BRAK"), QStringLiteral("JPEG")));
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    QVERIFY(!picture.Render(painter, 0, 0, 10, 10));
    QVERIFY(picture.Load(QStringLiteral("TLO"), QStringLiteral("JPEG")));
    picture.Release();
    QVERIFY(!picture.Render(painter, 0, 0, 10, 10));
}

void TestMainMenu::startupPicture()
{
    CSplashWindow::pictureAllowed = true;
    {
        CMainMenuDlg menu(link, meterCheck, services, nullptr, 0);
        CSplashWindow* splash = CSplashWindow::Current();
        QVERIFY(splash);
        QVERIFY(splash->isVisible());
        QCOMPARE(splash->size(), QSize(480, 300));
        // A second request while it is up shows nothing new.
        CSplashWindow::ShowSplashScreen(&menu);
        QCOMPARE(CSplashWindow::Current(), splash);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(
                     windows.begin(), windows.end(),
                     [](QWidget* w) { return qobject_cast<CSplashWindow*>(w) && w->isVisible(); }),
                 1);
        QTRY_VERIFY_WITH_TIMEOUT(!CSplashWindow::Current(), 2000);
    }
    CSplashWindow::pictureAllowed = false;
    CMainMenuDlg quiet(link, meterCheck, services, nullptr, 0);
    QVERIFY(!CSplashWindow::Current());
}

void TestMainMenu::startupPause()
{
    QCOMPARE(CMainMenuDlg::defaultStartupPauseMs, 2000);
    QCOMPARE(CSplashWindow::closeAfterMs, 750);
    QElapsedTimer clock;
    clock.start();
    CMainMenuDlg menu(link, meterCheck, services, nullptr, 300);
    QVERIFY(clock.elapsed() >= 300);
}

void TestMainMenu::splashAllowedByCommandLine_data()
{
    DataColumns<QStringList, bool>("arguments", "allowed");
    DataRow("no arguments", QStringList{"r718"}, true);
    DataRow("/Embedding", QStringList{"r718", "/Embedding"}, false);
    DataRow("-Automation", QStringList{"r718", "-Automation"}, false);
    DataRow("--embedding", QStringList{"r718", "--embedding"}, false);
    DataRow("file name Embedding", QStringList{"r718", "Embedding"}, true);
    DataRow("other flag", QStringList{"r718", "--simulator"}, true);
}

void TestMainMenu::splashAllowedByCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, allowed);
    QCOMPARE(CCalibratorApp::SplashAllowed(arguments), allowed);
}

QTEST_MAIN(TestMainMenu)
#include "tst_mainmenu.moc"
