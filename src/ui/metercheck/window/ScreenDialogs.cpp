// SPDX-License-Identifier: MIT
#include "ui/metercheck/window/ScreenDialogs.h"

#include "core/base/LastFolders.h"
#include "ui/metercheck/entry/CMeterDataDlg.h"
#include "ui/metercheck/entry/CPointDlg.h"
#include "ui/metercheck/entry/CRangeDlg.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QDir>
#include <QFileDialog>

namespace {

// Both file dialogs start in the folder where a .met file was last chosen (at first in the
// process's current folder) and add ".met" to a bare name.
QString RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    const QString lastFolder = LastFolder(FileKind::Document);
    dialog.setDirectory(lastFolder.isEmpty() ? QDir::currentPath() : lastFolder);
    dialog.setNameFilter(ScreenDialogs::FileFilter());
    dialog.setDefaultSuffix(ScreenDialogs::DefaultSuffix());
    if (mode == QFileDialog::AcceptOpen) {
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath();
    RememberFolder(FileKind::Document, path);
    return QDir::toNativeSeparators(path);
}

} // namespace

QString ScreenDialogs::FileFilter()
{
    return QStringLiteral("Pliki mierników (*.met)");
}

QString ScreenDialogs::ChooseFileToOpen()
{
    return RunFileDialog(parent, QFileDialog::AcceptOpen);
}

QString ScreenDialogs::ChooseFileToSave()
{
    return RunFileDialog(parent, QFileDialog::AcceptSave);
}

bool ScreenDialogs::RunMeterData(MeterCheckMode mode)
{
    CMeterDataDlg dialog(session, mode, messages, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ScreenDialogs::RunRangeDialog(MeterCheckMode mode, int range)
{
    CRangeDlg dialog(mode, session.document.ranges[qBound(0, range, maxRanges - 1)], messages,
                     parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ScreenDialogs::RunPointDialog(MeterCheckMode mode, int range, int point)
{
    MeterRange& slot = session.document.ranges[qBound(0, range, maxRanges - 1)];
    CPointDlg dialog(mode, session.document.method, slot, qBound(0, point, maxPoints - 1), messages,
                     parent);
    return dialog.exec() == QDialog::Accepted;
}
