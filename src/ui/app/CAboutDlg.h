// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "Informacja o programie": the program's name, version and description beside a picture,
// and a block with the maker's details. Touches no port and no setting.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
