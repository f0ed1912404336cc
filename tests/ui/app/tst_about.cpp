// SPDX-License-Identifier: MIT
#include "ui/app/CAboutDlg.h"
#include "ui/base/DialogUnits.h"

#include "Child.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void captionTextsAndPicture();
    void everyTextFits();
    void opensAndClosesRepeatedly();
};

void TestAbout::captionTextsAndPicture()
{
    CAboutDlg about;
    QCOMPARE(about.windowTitle(), QStringLiteral("Informacja o programie"));
    QCOMPARE(about.size(), DialogUnits::Size(289, 151));
    auto* title = Child<QLabel>(about, "title");
    QCOMPARE(title->text(), QStringLiteral("Tevano 718"));
    QCOMPARE(QFontInfo(title->font()).family(), QFontInfo(QFont(QStringLiteral("Arial"))).family());
    QCOMPARE(Child<QLabel>(about, "version")->text(), QStringLiteral("Wersja 1.1"));
    QCOMPARE(
        Child<QLabel>(about, "description")->text(),
        QStringLiteral("Program umożliwia sterowanie kalibratorem typu R718 realizując funkcje "
                       "pulpitu sterującego. Ponadto umożliwia sprawdzanie mierników "
                       "analogowych, cyfrowych i przyrządów automatyki przemysłowej, tworzenie "
                       "bazy danych sprawdzanych przyrządów oraz graficzną wizualizację wyników "
                       "pomiarów."));
    auto* picture = Child<QLabel>(about, "picture");
    QVERIFY(!picture->pixmap().isNull());
    QCOMPARE(picture->geometry(), DialogUnits::Rect(2, 0, 82, 150));
    QVERIFY(about.findChildren<QLabel*>(QStringLiteral("maker")).size() >= 3);
    auto* ok = Child<QPushButton>(about, "okButton");
    QCOMPARE(ok->text(), QStringLiteral("&OK"));
    QCOMPARE(ok->geometry(), DialogUnits::Rect(98, 128, 50, 14));
    QVERIFY(ok->isDefault());
}

void TestAbout::everyTextFits()
{
    CAboutDlg about;
    about.show();
    for (QLabel* label : about.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        if (label->wordWrap()) {
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                     qPrintable(label->text()));
        } else {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
            QVERIFY2(label->fontMetrics().height() <= label->height() + 2,
                     qPrintable(label->text()));
        }
    }
}

void TestAbout::opensAndClosesRepeatedly()
{
    const QString settingsDir =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Modrex";
    const QStringList before = QDir(settingsDir).entryList(QDir::Files);
    for (int i = 0; i < 3; ++i) {
        CAboutDlg about;
        QTimer::singleShot(0, &about, [&about, i] {
            if (i % 2)
                QTest::keyClick(&about, Qt::Key_Escape);
            else
                Child<QPushButton>(about, "okButton")->click();
        });
        QTimer::singleShot(3000, &about, [&about] { about.done(99); });
        const int result = about.exec();
        QCOMPARE(result, i % 2 ? int(QDialog::Rejected) : int(QDialog::Accepted));
    }
    QCOMPARE(QDir(settingsDir).entryList(QDir::Files), before);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
