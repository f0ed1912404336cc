// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/document/MeterCheckMode.h"

#include <QDialog>

class MessageService;
class QLabel;
class QLineEdit;
struct MeterRange;

// The nominal value of point slot `point` of a range, adding a point (MeterCheckMode::AddPoint)
// or editing one, by the document's method. The checks are PointEntry's; OK stores the value,
// "Anuluj" leaves the point.
class CPointDlg : public QDialog
{
    Q_OBJECT

public:
    CPointDlg(MeterCheckMode mode, CheckMethod method, MeterRange& range, int point,
              MessageService& messages, QWidget* parent = nullptr);

    void accept() override;

private:
    MeterRange& editedRange;
    int pointSlot;
    CheckMethod checkMethod;
    MessageService& messages;
    QLabel* captionLabel = nullptr;
    QLineEdit* valueEdit = nullptr;
    QLabel* unitLabel = nullptr;
};
