// SPDX-License-Identifier: MIT
#pragma once

#include "ui/app/CResourcePicture.h"
#include "ui/base/ProgramServices.h"

#include <QDialog>

class CalibratorLink;
class QPushButton;
struct MeterCheckSession;

// The main window: a fixed dialog with a column of ten buttons over the background picture.
// It starts each module as a modal window and ends the program when it closes (Esc, the
// close box or "Koniec"); Enter does nothing. Three buttons name modules the program does not
// have and stay disabled.
class CMainMenuDlg : public QDialog
{
    Q_OBJECT

public:
    // The menu's buttons, top to bottom; the focus and the Tab key follow this order.
    enum class Item
    {
        About,
        Language,
        PortSettings,
        Variant,
        CalibratorPanel,
        MeterCheck,
        TransducerCheck,
        Waveforms,
        MemoryReadout,
        End,
    };

    // While the menu is created, the start-up picture (when allowed) stays on the screen for
    // startupPauseMs with nothing else processed; tests pass 0. The modules get the link, the
    // meter check's session and the application's services.
    static constexpr int defaultStartupPauseMs = 2000;
    CMainMenuDlg(CalibratorLink& link, MeterCheckSession& meterCheck,
                 const ProgramServices& services, QWidget* parent = nullptr,
                 int startupPauseMs = defaultStartupPauseMs);
    ~CMainMenuDlg() override;

    QPushButton* Button(Item item) const { return buttons[int(item)]; }

    // Opens the meter check window with the document at `path` as soon as the menu runs.
    void OpenDocumentAtStart(const QString& path);

    // A later start of the program handed over `document` (empty: none): the program comes
    // forward, and the document opens in the meter check window (started for it when the menu
    // is alone; with the save question when the open document has changes). While another
    // module runs, or the meter check is busy, the user is told that it cannot open now.
    void OnAnotherStart(const QString& document);

    // The Enter action of the menu does nothing.
    void accept() override {}
    // Ends the program; while checks wait for the server, after asking.
    void reject() override;

protected:
    // Each module runs as a modal window owned by the menu and is gone when these return.
    virtual void RunAbout();
    virtual void RunPortSettings();
    virtual void RunCalibratorPanel();
    virtual void RunMeterCheck();
    virtual void RunTransducerCheck();
    virtual void RunWaveforms();

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnInitDialog();
    // Runs one module; the menu knows that a module is running until it returns.
    void RunModule(void (CMainMenuDlg::*run)());
    // Opens the document in the meter check window, or tells the user why not now.
    void OpenDocument(const QString& document);

    CalibratorLink& link;          // the modules' way to the calibrator
    MeterCheckSession& meterCheck; // the meter check windows' document
    ProgramServices services;
    QList<QPushButton*> buttons;
    CResourcePicture background;
    QString startDocument; // taken by the next meter check or transducer window
    bool moduleRunning = false;
};
