// SPDX-License-Identifier: MIT
#include "core/metercheck/window/MeterCheckCommands.h"

#include "core/base/MessageService.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkSession.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/window/MeterCheckDialogRunner.h"
#include "core/metercheck/window/MeterCheckView.h"
#include "core/base/RecentFileList.h"

#include <QDir>

namespace {

using Tab = MeterCheckView::Tab;

class LinkPort : public MeterCheckPort
{
public:
    explicit LinkPort(LinkSession& session) : session(session) {}
    void Open() override
    {
        if (session.Link())
            session.Open(session.Link()->PortNumber());
        session.Send(QStringLiteral("I"));
        session.Send(QStringLiteral("S1")); // output on
    }
    void Close() override { session.End(); }

private:
    LinkSession& session;
};

} // namespace

std::unique_ptr<MeterCheckPort> LinkMeterCheckPort(LinkSession& session)
{
    return std::make_unique<LinkPort>(session);
}

MeterCheckCommands::MeterCheckCommands(MeterCheckSession& session, MeterCheckView& view,
                                       MeterCheckDialogRunner& dialogs, MeterCheckPort& port,
                                       MessageService& messages, QObject* owner)
    : session(session), view(view), dialogs(dialogs), port(port), messages(messages), owner(owner)
{}

QString MeterCheckCommands::UntitledName()
{
    return QStringLiteral("Bez nazwy.met");
}

QString MeterCheckCommands::WindowCaption()
{
    return QStringLiteral("Sprawdzanie miernika");
}

void MeterCheckCommands::OnInitDialog()
{
    port.Open();
    RefreshRecentFiles();
    view.SetDocumentCommandsEnabled(false);
    open = false;
    for (Tab t : MeterCheckView::allTabs)
        view.HidePage(t);
    tab = Tab::Table;
    view.SelectTab(tab);
    UpdateTitle();
}

MeterCheckCommands::SaveAnswer MeterCheckCommands::AskToSave()
{
    if (!session.IsModified())
        return SaveAnswer::NotAsked;
    switch (messages.AskQuestion(QStringLiteral("Czy zapisać zmiany do pliku?"),
                                 QStringLiteral("R718"), MessageButtons::YesNoCancel, owner)) {
    case MessageAnswer::Yes:
        // Going on after a cancelled or failed save would drop the unsaved data.
        return OnSave() ? SaveAnswer::Saved : SaveAnswer::Stop;
    case MessageAnswer::No:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Stop;
    }
}

void MeterCheckCommands::CloseView()
{
    for (Tab t : MeterCheckView::allTabs)
        view.HidePage(t);
    view.SetDocumentCommandsEnabled(false);
    open = false;
}

void MeterCheckCommands::UpdateTitle()
{
    view.SetTitle(session.documentName.isEmpty() || !open
                      ? WindowCaption()
                      : WindowCaption() + QStringLiteral(" - ") + session.documentName);
}

void MeterCheckCommands::OnNew()
{
    const SaveAnswer answer = AskToSave();
    if (answer == SaveAnswer::Stop)
        return;

    CloseView();
    ClearDocument(session.document);
    // A fresh document starts on its first (empty) rows, or nothing could be added to it.
    session.currentRange = 0;
    session.currentPoint = 0;
    session.documentName.clear();
    UpdateTitle();
    session.meterCheckState = MeterCheckMode::NewDocument;
    if (answer == SaveAnswer::No)
        session.SetModified(false);

    if (!dialogs.RunMeterData(session.meterCheckState))
        return;
    view.SetDocumentCommandsEnabled(true);
    open = true;
    session.documentName = UntitledName();
    for (Tab t : MeterCheckView::allTabs)
        view.HidePage(t);
    tab = Tab::Table;
    view.SelectTab(tab);
    view.ShowPage(tab);
    UpdateTitle();
}

void MeterCheckCommands::ShowOpenedDocument(const QString& path)
{
    view.SetDocumentCommandsEnabled(true);
    session.documentName = path;
    session.SetModified(false);
    session.meterCheckState = MeterCheckMode::OpenedDocument;
    session.currentRange = 0;
    session.currentPoint = 0;
    open = true;
    for (Tab t : MeterCheckView::allTabs)
        view.HidePage(t);
    tab = Tab::Table;
    view.SelectTab(tab);
    view.ShowPage(tab);
    UpdateTitle();
    AddToRecentFiles(path);
}

void MeterCheckCommands::OnOpen()
{
    const SaveAnswer answer = AskToSave();
    if (answer == SaveAnswer::Stop)
        return;
    if (answer != SaveAnswer::NotAsked) {
        CloseView();
        UpdateTitle();
    }

    const QString path = dialogs.ChooseFileToOpen();
    if (path.isEmpty())
        return;
    // A file that cannot be loaded is reported by LoadDocument and leaves the document as it was.
    if (!LoadDocument(session, path, messages, owner))
        return;
    ShowOpenedDocument(path);
}

void MeterCheckCommands::OnRecentFile(int index)
{
    const QStringList entries = RecentFileList::Entries();
    if (index < 0 || index >= entries.size())
        return;
    const QString path = entries.at(index);

    if (AskToSave() == SaveAnswer::Stop)
        return;

    // A path that cannot be loaded (gone, now a folder or a FIFO, unreadable) is reported by
    // LoadDocument with its cause.
    if (!LoadDocument(session, path, messages, owner)) {
        // The document and the window stay as they were; a dead entry may leave the list.
        if (messages.AskQuestion(
                QStringLiteral("Czy usunąć plik:\n%1\nz listy ostatnio otwieranych plików?")
                    .arg(QDir::toNativeSeparators(path)),
                QStringLiteral("R718"), MessageButtons::YesNo, owner) == MessageAnswer::Yes) {
            RecentFileList::Remove(path);
            RefreshRecentFiles();
        }
        return;
    }
    CloseView();
    ShowOpenedDocument(path);
}

void MeterCheckCommands::OnOpenFile(const QString& path)
{
    if (AskToSave() == SaveAnswer::Stop || !LoadDocument(session, path, messages, owner))
        return;
    CloseView();
    ShowOpenedDocument(path);
}

bool MeterCheckCommands::OnSave()
{
    if (session.documentName.isEmpty() || session.documentName == UntitledName())
        return OnSaveAs();
    if (!SaveDocument(session, session.documentName, messages, owner))
        return false;
    AddToRecentFiles(session.documentName);
    session.SetModified(false);
    return true;
}

bool MeterCheckCommands::OnSaveAs()
{
    const QString path = dialogs.ChooseFileToSave();
    if (path.isEmpty())
        return false;
    if (!SaveDocument(session, path, messages, owner))
        return false;
    session.documentName = path;
    UpdateTitle();
    session.SetModified(false);
    AddToRecentFiles(path);
    return true;
}

void MeterCheckCommands::OnClose()
{
    const SaveAnswer answer = AskToSave();
    if (answer == SaveAnswer::Stop)
        return;
    CloseView();
    // The data stay in memory; the title no longer names a document.
    session.documentName.clear();
    UpdateTitle();
    if (answer == SaveAnswer::No)
        session.SetModified(false);
}

void MeterCheckCommands::OnExit()
{
    if (session.IsModified()) {
        if (AskToSave() == SaveAnswer::Stop)
            return;
        session.documentName.clear();
        CloseView();
        UpdateTitle();
        session.SetModified(false);
    }
    OnCancel();
}

void MeterCheckCommands::OnCancel()
{
    port.Close();
    view.EndWindow();
}

void MeterCheckCommands::OnMeterData()
{
    session.meterCheckState = MeterCheckMode::EditMeterData;
    if (!dialogs.RunMeterData(session.meterCheckState))
        return;
    open = true;
    view.HidePage(Tab::PointsChart);
    view.HidePage(Tab::ErrorsChart);
    tab = Tab::Table;
    view.SelectTab(tab);
    view.ShowPage(tab);
}

void MeterCheckCommands::OnSelchangeTab(int index)
{
    const Tab t = Tab(index);
    tab = t;
    if (!open) {
        view.SelectTab(Tab::Table);
        return;
    }
    if (t == Tab::PointsChart || t == Tab::ErrorsChart) {
        const int current = session.currentRange;
        const bool validRange = current >= 0 && current < maxRanges;
        const MeterRange* range = validRange ? &session.document.ranges[current] : nullptr;
        QString refusal;
        if (!range || range->rangeMeasured == 0) {
            refusal = QStringLiteral("Na bieżącym zakresie nie przeprowadzono jeszcze pomiarów.");
        } else {
            bool anyMarked = false;
            for (int j = 0; j < CountPoints(session.document, current); ++j)
                anyMarked = anyMarked || range->points[j].marked == 1;
            if (!anyMarked)
                refusal = QStringLiteral("Nie zaznaczono punktów do wykresu.");
        }
        if (!refusal.isEmpty()) {
            // The page shown before stays on the screen.
            view.SelectTab(Tab::Table);
            messages.Show(refusal, QStringLiteral("Brak danych!"), MessageIcon::Error,
                          MessageButtons::Ok, owner);
            return;
        }
    }
    for (Tab p : MeterCheckView::allTabs)
        view.HidePage(p);
    view.ShowPage(t);
    if (t != Tab::Table)
        view.DrawChart(t, session.currentRange);
}

void MeterCheckCommands::AddToRecentFiles(const QString& path)
{
    RecentFileList::Add(path);
    RefreshRecentFiles();
}

void MeterCheckCommands::RefreshRecentFiles()
{
    view.ShowRecentFiles(RecentFileList::Entries());
}
