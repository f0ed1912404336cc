// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/entry/RangeEditor.h"
#include "core/metercheck/document/MeterCheckMode.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
struct MeterRange;

// The range editor on a range slot, adding a range (MeterCheckMode::AddRange) or editing one.
// The rules are RangeEditor's; this class only mirrors its state in the widgets. OK stores the
// working copy into the slot, "Anuluj" leaves the slot as it was.
class CRangeDlg : public QDialog
{
    Q_OBJECT

public:
    CRangeDlg(MeterCheckMode mode, MeterRange& slot, MessageService& messages,
              QWidget* parent = nullptr);

    const RangeEditor& Editor() const { return rangeEditor; }

    void accept() override;

private:
    QLineEdit* LineEdit(RangeEditor::Edit which) const { return lineEdits[std::size_t(which)]; }
    void BuildForm();
    void OnEditChanged(RangeEditor::Edit which);
    // Brings every widget in line with the editor; `typed` and `caret` describe the edit the
    // user just changed, so that a normalised text keeps the caret where the typing goes on.
    void Sync(std::optional<RangeEditor::Edit> changedEdit = std::nullopt,
              const QString& typed = {}, int caret = 0);
    // Checks the option with this id in the group; none: unchecks them all.
    void SetChecked(QButtonGroup* group, std::optional<int> id);

    MeterRange& rangeSlot;
    RangeEditor rangeEditor;
    bool syncing = false;
    bool opened = false; // the stored texts put in at opening are not checked
    std::array<QLineEdit*, RangeEditor::editCount> lineEdits{};
    std::array<QWidget*, RangeEditor::controlCount> controlWidgets{};
    QButtonGroup* functionGroup = nullptr;
    QButtonGroup* sensorGroup = nullptr;
    QButtonGroup* junctionGroup = nullptr;
    QComboBox* voltageUnitList = nullptr;
    QComboBox* resistanceUnitList = nullptr;
    QComboBox* thermocoupleList = nullptr;
    QComboBox* rtdList = nullptr;
    QComboBox* constUnitList = nullptr;
};
