// SPDX-License-Identifier: MIT
#include "ui/base/DocumentFileDialogs.h"

#include "core/base/RecentFileList.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

namespace {

QString WithSuffix(QString path, const QString& suffix)
{
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    return path;
}

} // namespace

namespace DocumentFileDialogs {

QString WindowTitle(const QString& windowName, const QString& path, bool modified)
{
    const QString file = path.isEmpty() ? QStringLiteral("bez nazwy") : QFileInfo(path).fileName();
    return QStringLiteral("%1 - %2%3")
        .arg(windowName, file, modified ? QStringLiteral(" *") : QString());
}

QString AskOpenPath(QWidget* parent, const QString& nameFilter)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Otwórz"), QString(), nameFilter);
}

QString AskSavePath(QWidget* parent, const QString& path, const QString& nameFilter,
                    const QString& extension)
{
    return WithSuffix(
        QFileDialog::getSaveFileName(parent, QStringLiteral("Zapisz jako"), path, nameFilter),
        extension);
}

QString AskOutputPath(QWidget* parent, const QString& documentPath, const QString& caption,
                      const QString& suffix, const QString& filter)
{
    const QFileInfo document(documentPath);
    const QString proposed =
        documentPath.isEmpty()
            ? QString()
            : document.dir().filePath(document.completeBaseName() + QLatin1Char('.') + suffix);
    return WithSuffix(QFileDialog::getSaveFileName(parent, caption, proposed, filter), suffix);
}

void KeepRecentMenu(QMenu* menu, const QString& section,
                    const std::function<bool(const QString& path)>& open)
{
    // Filled as it opens: another window of the program may have changed the list.
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, section, open] {
        menu->clear();
        const QStringList entries = RecentFileList::Entries(section);
        if (entries.isEmpty())
            menu->addAction(QStringLiteral("(brak)"))->setEnabled(false);
        for (int i = 0; i < entries.size(); ++i) {
            const QString path = entries[i];
            menu->addAction(RecentFileList::MenuText(i, QDir::toNativeSeparators(path)), menu,
                            [section, open, path] {
                                if (!open(path))
                                    RecentFileList::Remove(path, section);
                            });
        }
    });
}

} // namespace DocumentFileDialogs
