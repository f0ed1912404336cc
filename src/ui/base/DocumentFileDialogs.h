// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

class QMenu;
class QWidget;

// The file questions of the windows that keep a document of their own (transducers, source
// programs): the same title, the same dialogs and the same list of recent files in each.
namespace DocumentFileDialogs {

// "Window - file.ext *": the document's file name ("bez nazwy" before it has one) and a star
// while it has unsaved changes.
QString WindowTitle(const QString& windowName, const QString& path, bool modified);

// The document to open; empty when cancelled.
QString AskOpenPath(QWidget* parent, const QString& nameFilter);

// Where to save the document (proposed: its own path), with `extension` added when the name
// has none; empty when cancelled.
QString AskSavePath(QWidget* parent, const QString& path, const QString& nameFilter,
                    const QString& extension);

// Where to write an output of the document (a CSV, a workbook, a PDF): proposed beside the
// document under its name, `suffix` added when the name has none; empty when cancelled.
QString AskOutputPath(QWidget* parent, const QString& documentPath, const QString& caption,
                      const QString& suffix, const QString& filter);

// Fills `menu` with the recent files of `section` each time it opens; choosing one calls
// `open`, and an entry that cannot be opened (open returns false) leaves the list.
void KeepRecentMenu(QMenu* menu, const QString& section,
                    const std::function<bool(const QString& path)>& open);

} // namespace DocumentFileDialogs
