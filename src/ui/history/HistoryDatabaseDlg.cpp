// SPDX-License-Identifier: MIT
#include "ui/history/HistoryDatabaseDlg.h"

#include "ui/base/DialogButtons.h"
#include "core/base/MessageService.h"
#include "core/history/HistoryService.h"
#include "ui/lab/LabPolicyDlg.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

HistoryDatabaseDlg::HistoryDatabaseDlg(HistoryService& history, MessageService& messages,
                                       QWidget* parent)
    : QDialog(parent), history(history), messages(messages)
{
    setWindowTitle(QStringLiteral("Baza danych"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    const HistoryConfig current = HistoryConfig::FromSettings();

    auto* group = new QGroupBox(QStringLiteral("Historia sprawdzeń przechowywana jest"), this);
    localButton = new QRadioButton(QStringLiteral("w &lokalnej bazie danych tego komputera"), group);
    auto* localPath = new QLabel(QDir::toNativeSeparators(LocalHistoryPath()), group);
    localPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    localPath->setIndent(22);
    serverButton = new QRadioButton(QStringLiteral("na &serwerze PostgreSQL laboratorium"), group);

    hostEdit = new QLineEdit(current.host, group);
    portBox = new QSpinBox(group);
    portBox->setRange(1, 65535);
    portBox->setValue(current.port);
    databaseEdit = new QLineEdit(current.database, group);
    userEdit = new QLineEdit(current.user, group);
    localButton->setObjectName(QStringLiteral("localButton"));
    serverButton->setObjectName(QStringLiteral("serverButton"));
    hostEdit->setObjectName(QStringLiteral("hostEdit"));
    portBox->setObjectName(QStringLiteral("portBox"));
    databaseEdit->setObjectName(QStringLiteral("databaseEdit"));
    userEdit->setObjectName(QStringLiteral("userEdit"));
    auto* form = new QFormLayout;
    form->setContentsMargins(22, 0, 0, 0);
    form->addRow(QStringLiteral("Serwer:"), hostEdit);
    form->addRow(QStringLiteral("Port:"), portBox);
    form->addRow(QStringLiteral("Baza danych:"), databaseEdit);
    form->addRow(QStringLiteral("Użytkownik:"), userEdit);
    auto* password = new QLabel(
        QStringLiteral("Hasło nie jest przechowywane przez program: podaj je w pliku ~/.pgpass "
                       "lub w zmiennej środowiska PGPASSWORD."),
        group);
    password->setWordWrap(true);
    form->addRow(password);
    auto* queue = new QLabel(QStringLiteral("Gdy serwer jest niedostępny, sprawdzenia czekają w "
                                            "lokalnej bazie danych i są wysyłane później."),
                             group);
    queue->setWordWrap(true);
    form->addRow(queue);
    probeButton = new QPushButton(QStringLiteral("Sprawdź &połączenie"), group);
    probeButton->setObjectName(QStringLiteral("probeButton"));
    probeResult = new QLabel(group);
    probeResult->setObjectName(QStringLiteral("probeResult"));
    probeResult->setWordWrap(true);
    probeResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(probeButton, probeResult);

    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(localButton);
    groupLayout->addWidget(localPath);
    groupLayout->addWidget(serverButton);
    groupLayout->addLayout(form);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    if (qEnvironmentVariableIsSet("R718_HISTORY") && !qEnvironmentVariable("R718_HISTORY").trimmed().isEmpty()) {
        auto* note = new QLabel(QStringLiteral("Uwaga: zmienna środowiska R718_HISTORY wskazuje "
                                               "teraz bazę danych %1; ustawienia poniżej działają "
                                               "bez tej zmiennej.")
                                    .arg(HistoryConfig::Current().Description()),
                                this);
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    // The lab's rules for what is recorded with every check live beside where it is kept.
    auto* labPolicyButton = new QPushButton(QStringLiteral("&Zasady laboratorium..."), this);
    labPolicyButton->setObjectName(QStringLiteral("labPolicyButton"));
    connect(labPolicyButton, &QPushButton::clicked, this,
            [this] { ShowLabPolicyDialog(this->messages, this); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(labPolicyButton);
    bottom->addWidget(OkCancelButtons(this), 1);
    layout->addLayout(bottom);

    (current.IsServer() ? serverButton : localButton)->setChecked(true);
    connect(localButton, &QRadioButton::toggled, this, &HistoryDatabaseDlg::UpdateFields);
    connect(probeButton, &QPushButton::clicked, this, &HistoryDatabaseDlg::OnProbe);
    UpdateFields();
    resize(520, sizeHint().height());
}

HistoryConfig HistoryDatabaseDlg::Chosen() const
{
    HistoryConfig config;
    config.backend = serverButton->isChecked() ? HistoryConfig::Backend::PostgreSql
                                               : HistoryConfig::Backend::Local;
    config.host = hostEdit->text().trimmed();
    config.port = portBox->value();
    config.database = databaseEdit->text().trimmed();
    config.user = userEdit->text().trimmed();
    // Named in the settings only (the administrator's guide says how); kept as it is.
    config.schema = HistoryConfig::FromSettings().schema;
    return config;
}

void HistoryDatabaseDlg::UpdateFields()
{
    const bool server = serverButton->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{hostEdit, portBox, databaseEdit, userEdit, probeButton})
        w->setEnabled(server);
    probeResult->clear();
}

QString HistoryDatabaseDlg::Refusal() const
{
    if (!serverButton->isChecked())
        return QString();
    if (hostEdit->text().trimmed().isEmpty())
        return QStringLiteral("Podaj nazwę lub adres serwera bazy danych.");
    if (databaseEdit->text().trimmed().isEmpty())
        return QStringLiteral("Podaj nazwę bazy danych na serwerze.");
    return QString();
}

void HistoryDatabaseDlg::OnProbe()
{
    const QString refusal = Refusal();
    if (!refusal.isEmpty()) {
        ShowProbeResult(refusal);
        return;
    }
    probeButton->setEnabled(false);
    ShowProbeResult(QStringLiteral("Łączenie..."));
    // The answer may come after the dialog closed: it goes to the service, which outlives
    // the dialog, and is dropped when the dialog is gone.
    history.Probe(Chosen()).then(&history, [this, dialog = QPointer(this)](const QString& error) {
        if (!dialog)
            return;
        probeButton->setEnabled(serverButton->isChecked());
        ShowProbeResult(error.isEmpty() ? QStringLiteral("Połączenie działa.") : error);
    });
}

void HistoryDatabaseDlg::ShowProbeResult(const QString& text)
{
    probeResult->setText(text);
    // A server's reason can run to several lines: the label asks for the height they need at
    // its width, and the dialog grows to it.
    probeResult->setMinimumHeight(probeResult->heightForWidth(probeResult->width()));
}

void HistoryDatabaseDlg::accept()
{
    const QString refusal = Refusal();
    if (!refusal.isEmpty()) {
        messages.ShowError(refusal, this);
        (hostEdit->text().trimmed().isEmpty() ? hostEdit : databaseEdit)->setFocus();
        return;
    }
    Chosen().SaveToSettings();
    // Records that waited for a server go to the one chosen now.
    history.SendQueued();
    QDialog::accept();
}
