// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include <memory>

// What the meter check's command logic asks of its window.
class MeterCheckView
{
public:
    // The window's tabs, in the order of its tab bar.
    enum class Tab
    {
        Table,
        PointsChart,
        ErrorsChart
    };
    static constexpr Tab allTabs[] = {Tab::Table, Tab::PointsChart, Tab::ErrorsChart};

    virtual ~MeterCheckView() = default;

    virtual void SetTitle(const QString& title) = 0;
    // Enables or grays the seven document commands.
    virtual void SetDocumentCommandsEnabled(bool enabled) = 0;
    // Hides the page of `tab`.
    virtual void HidePage(Tab tab) = 0;
    // Shows the page of `tab`; the ranges page refills its grids from the document.
    virtual void ShowPage(Tab tab) = 0;
    // Moves the tab selection without showing or hiding any page.
    virtual void SelectTab(Tab tab) = 0;
    // Draws the chart of a chart tab for a range.
    virtual void DrawChart(Tab tab, int range) = 0;
    // Replaces the recent-file items of the File menu.
    virtual void ShowRecentFiles(const QStringList& paths) = 0;
    // Ends the window.
    virtual void EndWindow() = 0;
};

// The calibrator as the meter check window uses it: open at the start, closed at the end.
class MeterCheckPort
{
public:
    virtual ~MeterCheckPort() = default;
    // Opens the configured port and sends "I" and "S1".
    virtual void Open() = 0;
    virtual void Close() = 0;
};

class LinkSession;

// The calibrator link, through the window's session: the port number is the link's at the
// time of opening; closing drops the window's commands still queued.
std::unique_ptr<MeterCheckPort> LinkMeterCheckPort(LinkSession& session);
