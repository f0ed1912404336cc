// SPDX-License-Identifier: MIT
// The one form of the command-line programs' messages, and Polish counts.
#include "DataRows.h"
#include "core/base/ConsoleText.h"

#include <QTest>

class TestConsoleText : public QObject
{
    Q_OBJECT

private slots:
    void messages_data()
    {
        DataColumns<QString, QString>("text", "line");
        DataRow("message box of a file",
                "Nie udało się odczytać pliku:\n/x/a.met\nPlik lub folder nie istnieje.\n"
                "Dokument nie został wczytany.",
                "r718: nie udało się odczytać pliku /x/a.met: Plik lub folder nie istnieje. "
                "Dokument nie został wczytany.");
        DataRow("a name over the rest of the sentence",
                "Plik:\n/x/a.met\nnie jest plikiem danych miernika.",
                "r718: plik /x/a.met nie jest plikiem danych miernika.");
        DataRow("sentences of a server do not run together",
                "Serwer X: connection failed: Connection refused\n\tIs the server running?",
                "r718: serwer X: connection failed: Connection refused. Is the server running?");
        DataRow("a name keeps its capitals", "R718_HISTORY: brak nazwy serwera w adresie",
                "r718: R718_HISTORY: brak nazwy serwera w adresie.");
        DataRow("own punctuation kept", "Nie znaleziono drukarki!",
                "r718: nie znaleziono drukarki!");
    }
    void messages()
    {
        QFETCH(QString, text);
        QFETCH(QString, line);
        QCOMPARE(ConsoleMessage("r718", text), line);
    }

    void counts_data()
    {
        DataColumns<int, QString>("n", "text");
        DataRow("one", 1, "1 strona");
        DataRow("two to four", 3, "3 strony");
        DataRow("five and more", 5, "5 stron");
        DataRow("none", 0, "0 stron");
        DataRow("twelve to fourteen", 13, "13 stron");
        DataRow("twenty-two", 22, "22 strony");
        DataRow("hundred and twelve", 112, "112 stron");
    }
    void counts()
    {
        QFETCH(int, n);
        QFETCH(QString, text);
        QCOMPARE(CountText(n, "strona", "strony", "stron"), text);
    }
};

QTEST_GUILESS_MAIN(TestConsoleText)
#include "tst_consoletext.moc"
