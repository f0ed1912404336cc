// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/window/MeterCheckView.h"

class MeterCheckDialogRunner;
class MessageService;
class QString;
class QObject;
struct MeterCheckSession;

// The file, meter-data and tab commands of the meter check window, on the session's document.
// The window passes its menu commands here and draws what the view is told.
class MeterCheckCommands
{
public:
    MeterCheckCommands(MeterCheckSession& session, MeterCheckView& view,
                       MeterCheckDialogRunner& dialogs, MeterCheckPort& port,
                       MessageService& messages, QObject* owner = nullptr);

    static QString UntitledName();
    static QString WindowCaption();

    // The window opens: port, recent files, no document open, tab 0.
    void OnInitDialog();

    void OnNew();
    void OnOpen();
    // Both return whether the document was written.
    bool OnSave();
    bool OnSaveAs();
    void OnClose();
    void OnExit();
    // Esc: closes the port and the window without any question.
    void OnCancel();
    void OnRecentFile(int index);
    // Opens the document at `path` as a recent-file entry does (the save question, the
    // refusal of a missing or unreadable file), for a file named on the command line.
    void OnOpenFile(const QString& path);
    void OnMeterData();
    // The tab bar's tab at `index` was chosen.
    void OnSelchangeTab(int index);

    bool DocumentOpen() const { return open; }
    MeterCheckView::Tab CurrentTab() const { return tab; }

private:
    enum class SaveAnswer
    {
        NotAsked,
        Saved,
        No,
        Stop
    };
    // The save question, when the document is modified. Stop: the user cancelled, or chose to
    // save and the document was not written; the command must not go on.
    SaveAnswer AskToSave();
    void CloseView();
    void ShowOpenedDocument(const QString& path);
    void UpdateTitle();
    void AddToRecentFiles(const QString& path);
    void RefreshRecentFiles();

    MeterCheckSession& session;
    MeterCheckView& view;
    MeterCheckDialogRunner& dialogs;
    MeterCheckPort& port;
    MessageService& messages;
    QObject* owner;
    bool open = false;
    MeterCheckView::Tab tab = MeterCheckView::Tab::Table;
};
