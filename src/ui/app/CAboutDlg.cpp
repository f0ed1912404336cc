// SPDX-License-Identifier: MIT
#include "ui/app/CAboutDlg.h"

#include "ui/app/DialogFont.h"
#include "ui/base/DialogUnits.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

const QColor windowColour(0xEE, 0xF2, 0xF7);
const QColor titleColour(0x12, 0x2E, 0x5C);
const QColor frameColour(0xDD, 0xE5, 0xF0);

QLabel* AddLabel(QWidget* parent, const QString& text, QRect place, int pixelSize,
                 bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    using DialogUnits::Rect;
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(QStringLiteral("Informacja o programie"));
    setFont(DialogFont());
    setFixedSize(DialogUnits::Size(289, 151));

    auto* background = new QLabel(this);
    background->setGeometry(Rect(0, 0, 289, 151));
    background->setAutoFillBackground(true);
    QPalette backgroundPalette = background->palette();
    backgroundPalette.setColor(QPalette::Window, windowColour);
    background->setPalette(backgroundPalette);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setGeometry(Rect(2, 0, 82, 150));
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap(QStringLiteral(":/picture/about")));

    QLabel* title = AddLabel(this, QStringLiteral("Tevano 718"), Rect(88, 0, 190, 22), 26, true);
    title->setObjectName(QStringLiteral("title"));
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::WindowText, titleColour);
    title->setPalette(titlePalette);

    QLabel* description = AddLabel(
        this,
        QStringLiteral(
            "Program umożliwia sterowanie kalibratorem typu R718 realizując funkcje pulpitu "
            "sterującego. Ponadto umożliwia sprawdzanie mierników analogowych, cyfrowych i "
            "przyrządów automatyki przemysłowej, tworzenie bazy danych sprawdzanych przyrządów "
            "oraz graficzną wizualizację wyników pomiarów."),
        Rect(88, 21, 192, 50), 11);
    description->setObjectName(QStringLiteral("description"));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QLabel* version = AddLabel(this, QStringLiteral("Wersja 1.1"), Rect(91, 92, 60, 10), 12, true);
    version->setObjectName(QStringLiteral("version"));

    auto* makerFrame = new QFrame(this);
    makerFrame->setGeometry(Rect(164, 75, 118, 66));
    makerFrame->setFrameShape(QFrame::StyledPanel);
    makerFrame->setFrameShadow(QFrame::Sunken);
    makerFrame->setAutoFillBackground(true);
    QPalette framePalette = makerFrame->palette();
    framePalette.setColor(QPalette::Window, frameColour);
    makerFrame->setPalette(framePalette);

    // The maker's block: the project's own neutral details.
    struct Line
    {
        const char* text;
        int pixelSize;
        bool bold;
    };
    const Line maker[] = {
        {"Modrex", 13, true},
        {"Oprogramowanie pomiarowe", 11, false},
        {"do kalibratora R718", 11, false},
        {"Wsparcie: opiekun systemu", 11, false},
        {"w Twojej organizacji", 11, false},
        {"Opracowanie: zespół Tevano 718", 10, false},
    };
    int y = 79;
    for (const Line& line : maker) {
        QLabel* label = AddLabel(this, QString::fromUtf8(line.text), Rect(169, y, 110, 9),
                                 line.pixelSize, line.bold);
        label->setObjectName(QStringLiteral("maker"));
        y += 10;
    }

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry(Rect(98, 128, 50, 14));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
