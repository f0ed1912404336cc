// SPDX-License-Identifier: MIT
#include "ui/app/SerialDeviceBox.h"

#include "core/link/SerialPortEnumerator.h"

#include <QAbstractItemView>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>

namespace {

// Shows the port's full line in the list while the item's text, which goes into the field
// when the item is chosen, stays the path.
class PortLabelDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString label = index.data(SerialDeviceBox::labelRole).toString();
        if (!label.isEmpty())
            option->text = label;
    }
};

} // namespace

SerialDeviceBox::SerialDeviceBox(const SerialPortEnumerator& ports, QWidget* parent)
    : QComboBox(parent), ports(ports)
{
    setEditable(true);
    // Enter confirms the dialog; it does not add the typed path to the list.
    setInsertPolicy(QComboBox::NoInsert);
    setItemDelegate(new PortLabelDelegate(this));
}

void SerialDeviceBox::RefreshPorts()
{
    const QString text = currentText();
    const QSignalBlocker quiet(this);
    clear();
    int widest = 0;
    for (const SerialPortDescription& port : ports.Ports()) {
        const QString label = SerialPortLabel(port);
        addItem(port.path);
        setItemData(count() - 1, label, labelRole);
        setItemData(count() - 1, label, Qt::ToolTipRole);
        widest = qMax(widest, view()->fontMetrics().horizontalAdvance(label));
    }
    if (count() == 0) {
        // Says why the list is empty; it cannot be chosen.
        addItem(QString());
        setItemData(0, QStringLiteral("Nie znaleziono portów szeregowych."), labelRole);
        if (auto* items = qobject_cast<QStandardItemModel*>(model()))
            items->item(0)->setFlags(Qt::NoItemFlags);
        widest = view()->fontMetrics().horizontalAdvance(itemData(0, labelRole).toString());
    }
    // The list may be wider than the field, so that the descriptions can be read.
    view()->setMinimumWidth(widest + 4 * view()->fontMetrics().averageCharWidth());
    setCurrentIndex(text.isEmpty() ? -1 : findText(text));
    setEditText(text);
}

int SerialDeviceBox::WidthToShow(const QString& path) const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.rect = QRect(0, 0, 200, height());
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The line edit keeps 2 px beside its text on either side, and a pixel for the cursor.
    const int text = fontMetrics().horizontalAdvance(path) + 2 * 2 + 1;
    return option.rect.width() - field.width() + text;
}

void SerialDeviceBox::showPopup()
{
    RefreshPorts();
    QComboBox::showPopup();
}
