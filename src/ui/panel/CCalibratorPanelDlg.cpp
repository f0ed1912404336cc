// SPDX-License-Identifier: MIT
#include "ui/panel/CCalibratorPanelDlg.h"

#include "core/base/MessageService.h"
#include "core/link/CalibratorLink.h"
#include "core/link/CommandSender.h"
#include "core/link/LinkSession.h"
#include "ui/base/DialogUnits.h"
#include "ui/controls/ColorButton.h"
#include "ui/panel/MeterHalf.h"
#include "ui/panel/PanelLook.h"
#include "ui/panel/SourceHalf.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

// The port through the panel's session: opening starts a new failure episode, so that a
// calibrator that still does not answer is told again; closing drops what is still queued.
PanelPort SessionPort(LinkSession& session, int portNumber)
{
    return {portNumber,
            [&session](int port) {
                session.StartEpisode();
                session.Open(port);
            },
            [&session] { session.End(); }};
}

} // namespace

CCalibratorPanelDlg::CCalibratorPanelDlg(CalibratorLink& link, MessageService& messages,
                                         QWidget* parent)
    : CCalibratorPanelDlg(std::make_unique<LinkSession>(link), link.PortNumber(), messages, parent)
{}

CCalibratorPanelDlg::CCalibratorPanelDlg(std::unique_ptr<LinkSession> linkSession, int portNumber,
                                         MessageService& messages, QWidget* parent)
    : CCalibratorPanelDlg(*linkSession, SessionPort(*linkSession, portNumber), nullptr, messages,
                          parent)
{
    session = std::move(linkSession);
}

CCalibratorPanelDlg::CCalibratorPanelDlg(CommandSender& sender, const PanelPort& port,
                                         ParamPrompt* prompt, MessageService& messages,
                                         QWidget* parent)
    : QDialog(parent), sender(sender), port(port), messages(messages)
{
    setWindowTitle(QStringLiteral("Sterowanie kalibratora"));
    setFixedSize(DialogUnits::Size(530, 338));
    setFont(PanelLook::Arial(8.25, false));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, PanelLook::dialogGrey);
    grey.setColor(QPalette::Button, PanelLook::dialogGrey);
    // Disabled captions in the darker grey of the classic dialogs, legible on the face.
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        grey.setColor(QPalette::Disabled, role, PanelLook::disabledText);
    setPalette(grey);
    setAutoFillBackground(true);

    meter = new MeterHalf(this, sender, messages);
    source = new SourceHalf(this, sender, messages, prompt);

    resetButton = new ColorButton(QStringLiteral("RESET"), this);
    resetButton->setObjectName(QStringLiteral("resetButton")); // 1173
    resetButton->setGeometry(DialogUnits::Rect(249, 312, 31, 16));
    resetButton->setBackColor(PanelLook::resetFace);
    resetButton->setFont(PanelLook::ResetFont());
    resetButton->setFocusPolicy(Qt::NoFocus);
    resetButton->setAutoDefault(false);
    connect(resetButton, &QAbstractButton::clicked, this, &CCalibratorPanelDlg::ResetPanel);

    // Precise: a coarse timer may fire up to 5 % early, and the poll must stay at one per 500 ms.
    pollTimer.setTimerType(Qt::PreciseTimer);
    pollTimer.setInterval(pollIntervalMs);
    connect(&pollTimer, &QTimer::timeout, meter, &MeterHalf::Poll);
    // A link given up under the poll shows on the source side at once.
    connect(meter, &MeterHalf::replyTaken, this, [this] { source->Logic().NoteLinkState(); });

    qApp->installEventFilter(this);
}

CCalibratorPanelDlg::~CCalibratorPanelDlg()
{
    qApp->removeEventFilter(this);
}

void CCalibratorPanelDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!opened) {
        opened = true;
        OnInitDialog();
    }
}

void CCalibratorPanelDlg::OnInitDialog()
{
    port.open(port.portNumber); // a failure is reported there; the panel works on regardless
    sender.Send(QStringLiteral("I"));
    sender.Send(QStringLiteral("X"));
    pollTimer.start();
    source->Open(); // ends with "S1" from the operate toggle
    meter->Open();
    // The keyboard belongs to the panel until the user clicks into a list or a radio.
    setFocus();
}

void CCalibratorPanelDlg::reject()
{
    pollTimer.stop();
    meter->StopAveraging();
    const MessageAnswer answer = messages.AskQuestion(
        QStringLiteral("Czy chcesz zakończyć pracę z modułem sterowania kalibratora?"),
        QStringLiteral("R718"), MessageButtons::YesNo, this);
    if (answer == MessageAnswer::Yes) {
        port.close();
        QDialog::reject();
        return;
    }
    // Polling goes on; the averaging waits for the next statistics Reset.
    pollTimer.start();
}

void CCalibratorPanelDlg::ResetPanel()
{
    source->ResetHalf();
    meter->ResetHalf();
    sender.Send(QStringLiteral("I"));
    sender.Send(QStringLiteral("X"));
}

bool CCalibratorPanelDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !isVisible() || !watched->isWidgetType())
        return false;
    // A key travels from the focused control up to the window; the panel looks at it once,
    // where it starts: at the focused control, or at the window when no control has the focus.
    auto* target = static_cast<QWidget*>(watched);
    QWidget* focus = QApplication::focusWidget();
    const bool focusHere = focus && (focus == this || isAncestorOf(focus));
    if (focusHere ? target != focus : target != this)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    HandleKey(PanelKeyFor(key->key(), key->modifiers()));
    return false; // the key goes on to the control as usual
}

void CCalibratorPanelDlg::HandleKey(const PanelKeyAction& action)
{
    switch (action.kind) {
    case PanelKeyAction::Kind::None:
        return;
    case PanelKeyAction::Kind::HoldToggle:
        meter->ToggleHold();
        return;
    case PanelKeyAction::Kind::ResetStatistics:
        meter->ResetStatistics();
        return;
    case PanelKeyAction::Kind::ResetPanel:
        ResetPanel();
        return;
    default:
        source->HandleKey(action);
        return;
    }
}
