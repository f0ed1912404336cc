// SPDX-License-Identifier: MIT
#include "ui/metercheck/run/CExactReadingDlg.h"

#include "ui/controls/ToggleButton.h"
#include "core/link/CalFunctionTable.h"
#include "core/metercheck/entry/RangeDescription.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "ui/metercheck/run/MeasurementDialogParts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

using namespace MeasurementDialogParts;

namespace {

constexpr int digitButtonWidth = 16;
constexpr int digitButtonHeight = 14;
const QColor buttonFace(0xC0, 0xC0, 0xC0);

// Keys the dialog would otherwise take for itself (focus moves, default button, cancel), and
// the arrows that already stepped the output.
bool IsDialogKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

} // namespace

CExactReadingDlg::CExactReadingDlg(const MeterCheckSession& session, int range, int point,
                                   const QString& setpointText, CommandSender& sender,
                                   QWidget* parent)
    : QDialog(parent), control(session.document.ranges[range].calFunction, setpointText, sender)
{
    setWindowTitle(QStringLiteral("Metoda dokładnego odczytu"));
    setFixedSize(480, 262);
    const MeterRange& r = session.document.ranges[range];
    const int function = r.calFunction;
    const QFont value = ValueFont();

    descriptionLabel = Label(this, "descriptionLabel", QRect(12, 8, 456, 22), value);
    descriptionLabel->setText(DescribeRange(r));

    BuildOutputFrame();

    Frame(this, QStringLiteral("Wskazanie miernika"), QRect(245, 38, 225, 64));
    readingLabel = Label(this, "readingLabel", QRect(258, 60, 110, 34), DisplayFont(),
                         Qt::AlignRight | Qt::AlignVCenter);
    readingLabel->setText(r.points[point].reading);
    readingUnit = Label(this, "readingUnit", QRect(376, 60, 80, 34), value);
    readingUnit->setText(r.rangeUnit);

    Frame(this, QStringLiteral("Zakres miernika"), QRect(245, 108, 225, 50));
    meterRangeLabel = Label(this, "meterRangeLabel", QRect(258, 128, 100, 24), value,
                            Qt::AlignRight | Qt::AlignVCenter);
    meterRangeLabel->setText(r.rangeValue);
    meterRangeUnit = Label(this, "meterRangeUnit", QRect(366, 128, 90, 24), value);
    meterRangeUnit->setText(r.rangeUnit);

    Frame(this, QStringLiteral("Zakres kalibratora"), QRect(245, 164, 225, 50));
    calibratorRange = Label(this, "calibratorRange", QRect(258, 184, 100, 24), value,
                            Qt::AlignRight | Qt::AlignVCenter);
    calibratorRangeUnit = Label(this, "calibratorRangeUnit", QRect(366, 184, 90, 24), value);
    if (CalFunctions::IsValid(function)) {
        calibratorRange->setText(CalFunctionTable[function].rangeText);
        calibratorRangeUnit->setText(CalFunctionTable[function].unitText);
    }

    okButton = Button(this, "okButton", QStringLiteral("OK"), QRect(270, 222, 95, 30));
    abortButton = Button(this, "abortButton", QStringLiteral("Przerwij"), QRect(375, 222, 95, 30));
    for (QPushButton* b : {okButton, abortButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(okButton, &QPushButton::clicked, this, &CExactReadingDlg::OnOk);
    connect(abortButton, &QPushButton::clicked, this, &QDialog::reject);

    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    ShowOutput();
    digitButtons[0]->setFocus();
}

void CExactReadingDlg::BuildOutputFrame()
{
    Frame(this, QStringLiteral("Nastawa kalibratora"), QRect(10, 38, 225, 176));

    signLabel = Label(this, "signLabel", QRect(22, 118, 22, 44), DisplayFont(), Qt::AlignCenter);
    // Six character cells ending at x = 162: the digits stand over the digit buttons.
    outputLabel = Label(this, "outputLabel", QRect(44, 118, 118, 44), DisplayFont(),
                        Qt::AlignRight | Qt::AlignVCenter);

    spinUp = new QToolButton(this);
    spinDown = new QToolButton(this);
    spinUp->setObjectName(QStringLiteral("spinUp"));
    spinDown->setObjectName(QStringLiteral("spinDown"));
    spinUp->setArrowType(Qt::UpArrow);
    spinDown->setArrowType(Qt::DownArrow);
    spinUp->setGeometry(168, 118, 20, 22);
    spinDown->setGeometry(168, 140, 20, 22);
    for (QToolButton* b : {spinUp, spinDown}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(spinUp, &QToolButton::clicked, this, [this] {
        control.StepUp();
        ShowOutput();
    });
    connect(spinDown, &QToolButton::clicked, this, [this] {
        control.StepDown();
        ShowOutput();
    });

    digitGroup = new QButtonGroup(this);
    digitGroup->setExclusive(true);
    for (int n = 1; n <= ExactReadingControl::digitCount; ++n) {
        auto* b = new ToggleButton(this);
        b->setObjectName(QStringLiteral("digitButton%1").arg(n));
        b->setBackColor(buttonFace);
        b->setGeometry(ExactReadingControl::DigitButtonX(control.Decimals(), n),
                       ExactReadingControl::digitButtonY, digitButtonWidth, digitButtonHeight);
        digitGroup->addButton(b, n);
        digitButtons[n - 1] = b;
    }
    digitButtons[0]->setChecked(true);
    connect(digitGroup, &QButtonGroup::idClicked, this, [this](int n) { control.SelectDigit(n); });

    signButton = new ToggleButton(QStringLiteral("+/-"), this);
    signButton->setObjectName(QStringLiteral("signButton"));
    signButton->setBackColor(buttonFace);
    signButton->setGeometry(196, 122, 32, 36);
    signButton->setChecked(!control.SignFlag());
    connect(signButton, &ToggleButton::valueClicked, this, &CExactReadingDlg::OnSignButton);
}

void CExactReadingDlg::ShowOutput()
{
    signLabel->setText(control.SignText());
    outputLabel->setText(control.MagnitudeText());
}

void CExactReadingDlg::OnSignButton(bool pressed)
{
    if (!control.ToggleSign()) {
        // The function cannot produce that sign: the button stays as it was.
        const QSignalBlocker blocker(signButton);
        signButton->setChecked(!pressed);
    }
    ShowOutput();
}

bool CExactReadingDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    // Every key is taken once, at the widget it is meant for; a key a child leaves unused
    // travels on to its parents and must not be taken again there.
    QWidget* target = QApplication::focusWidget();
    if (!target || !isAncestorOf(target))
        target = this;
    if (watched != target)
        return QDialog::eventFilter(watched, event);

    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool sign = control.KeyDown(key);
    ShowOutput();
    if (sign)
        signButton->toggle();
    return IsDialogKey(key);
}

void CExactReadingDlg::OnOk()
{
    setting = control.SettingText();
    accept();
}
