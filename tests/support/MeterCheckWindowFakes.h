// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/window/MeterCheckDialogRunner.h"
#include "core/metercheck/window/MeterCheckView.h"

#include <QStringList>

#include <array>
#include <functional>

// Dialogs answered from a script: file dialogs take the next queued path (cancel when none is
// left), the entry dialogs run the given function (cancel when none is set). What the entry
// dialogs were opened on is kept.
class ScriptedDialogs : public MeterCheckDialogRunner
{
public:
    QString ChooseFileToOpen() override
    {
        ++openDialogs;
        return openPaths.isEmpty() ? QString() : openPaths.takeFirst();
    }
    QString ChooseFileToSave() override
    {
        ++saveDialogs;
        return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
    }
    bool RunMeterData(MeterCheckMode mode) override
    {
        ++meterDataDialogs;
        stateAtMeterData = mode;
        return meterData ? meterData() : false;
    }
    bool RunRangeDialog(MeterCheckMode mode, int range) override
    {
        ++rangeDialogs;
        openedOn = {mode, range, -1};
        return rangeDialog ? rangeDialog() : false;
    }
    bool RunPointDialog(MeterCheckMode mode, int range, int point) override
    {
        ++pointDialogs;
        openedOn = {mode, range, point};
        return pointDialog ? pointDialog() : false;
    }

    // OK in the meter-data dialog as a user would fill it.
    static std::function<bool()> FillMeterData(MeterCheckSession& session)
    {
        return [&session] {
            session.document.meterName = "V-640";
            session.document.meterNumber = "1234";
            session.document.method = CheckMethod::ExactSetting;
            session.SetModified(true);
            return true;
        };
    }

    struct OpenedOn
    {
        MeterCheckMode mode;
        int range;
        int point; // -1 for the range editor
    };

    QStringList openPaths;
    QStringList savePaths;
    std::function<bool()> meterData;
    std::function<bool()> rangeDialog;
    std::function<bool()> pointDialog;
    int openDialogs = 0;
    int saveDialogs = 0;
    int meterDataDialogs = 0;
    int rangeDialogs = 0;
    int pointDialogs = 0;
    MeterCheckMode stateAtMeterData = MeterCheckMode::None;
    OpenedOn openedOn{MeterCheckMode::None, -1, -1}; // the last range or point dialog
};

// Remembers what the window was told to show.
class RecordingView : public MeterCheckView
{
public:
    void SetTitle(const QString& t) override { title = t; }
    void SetDocumentCommandsEnabled(bool enabled) override { commandsEnabled = enabled; }
    // Tabs are kept as their numbers in the tab bar.
    void HidePage(Tab tab) override { pageVisible[int(tab)] = false; }
    void ShowPage(Tab tab) override
    {
        pageVisible[int(tab)] = true;
        ++shown;
    }
    void SelectTab(Tab tab) override { selectedTab = int(tab); }
    void DrawChart(Tab tab, int range) override { charts << qMakePair(int(tab), range); }
    void ShowRecentFiles(const QStringList& paths) override { recent = paths; }
    void EndWindow() override { ended = true; }

    int VisiblePage() const
    {
        for (int t = 0; t < 3; ++t)
            if (pageVisible[t])
                return t;
        return -1;
    }

    QString title;
    bool commandsEnabled = true;
    std::array<bool, 3> pageVisible{true, true, true};
    int selectedTab = -1;
    int shown = 0;
    QList<QPair<int, int>> charts;
    QStringList recent;
    bool ended = false;
};

class RecordingPort : public MeterCheckPort
{
public:
    void Open() override { calls << "open"; }
    void Close() override { calls << "close"; }
    QStringList calls;
};
