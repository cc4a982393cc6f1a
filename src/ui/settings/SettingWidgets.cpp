#include "ui/settings/SettingWidgets.h"

#include "encoding/SettingsLists.h"
#include "encoding/SettingsTable.h"
#include "ui/common/ElidingComboBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

namespace {

const SettingDescriptor &descriptor(QAnyStringView control)
{
    const SettingDescriptor *d = FindSetting(control);
    Q_ASSERT_X(d, "SettingWidgets", "not a setting of the table");
    return *d;
}

QStringList itemsOf(
    const SettingDescriptor &d, const TAppStrings &strings, const EncodingLists &lists)
{
    if (d.source == ListSource::BuiltIn && d.items)
        return d.items(strings);
    if (d.fileItems)
        return lists.*d.fileItems;
    return {};
}

QStringList itemsOf(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

SettingWidgets::SettingWidgets(QObject *parent)
    : QObject(parent)
{ }

QWidget *SettingWidgets::create(QAnyStringView control, QWidget *parent)
{
    const SettingDescriptor &d = descriptor(control);
    QWidget *widget = nullptr;
    switch (d.kind) {
    case SettingKind::CheckBox:
        widget = new QCheckBox(parent);
        break;
    case SettingKind::List:
    case SettingKind::EditableList: {
        auto *box = new ElidingComboBox(parent);
        box->setEditable(d.kind == SettingKind::EditableList);
        // Typed texts are values, not new entries.
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMaxVisibleItems(20);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        // Room for a typed "29.97" or "10000"; a list shows its entries' start.
        box->setMinimumContentsLength(box->isEditable() ? 5 : 6);
        widget = box;
        break;
    }
    case SettingKind::SpinBox: {
        auto *spin = new QSpinBox(parent);
        spin->setRange(d.range.min, d.range.max);
        spin->setSingleStep(d.range.step);
        spin->setAccelerated(true);
        widget = spin;
        break;
    }
    case SettingKind::TrackBar: {
        auto *slider = new QSlider(Qt::Horizontal, parent);
        slider->setRange(d.range.min, d.range.max);
        slider->setSingleStep(d.range.step);
        slider->setPageStep(std::max(1, (d.range.max - d.range.min) / 10));
        widget = slider;
        break;
    }
    case SettingKind::Memo: {
        auto *memo = new QPlainTextEdit(parent);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setTabChangesFocus(true);
        widget = memo;
        break;
    }
    case SettingKind::LineEdit:
        widget = new QLineEdit(parent);
        break;
    case SettingKind::Page:
        widget = new QTabWidget(parent);
        break;
    }
    bind(d, widget);
    return widget;
}

void SettingWidgets::adopt(QAnyStringView control, QWidget *widget)
{
    bind(descriptor(control), widget);
}

void SettingWidgets::bind(const SettingDescriptor &d, QWidget *widget)
{
    const QString name = QLatin1String(d.control);
    widget->setObjectName(name);
    m_widgets.insert(name, widget);
    m_order.clear();
    for (const SettingDescriptor &row : SettingsTable())
        if (m_widgets.contains(QLatin1String(row.control)))
            m_order.push_back(&row);

    const SettingDescriptor *p = &d;
    const auto report = [this, p] { Q_EMIT edited(p); };
    if (auto *check = qobject_cast<QCheckBox *>(widget))
        connect(check, &QCheckBox::toggled, this, report);
    else if (auto *box = qobject_cast<QComboBox *>(widget); box && box->isEditable())
        connect(box, &QComboBox::editTextChanged, this, report);
    else if (box)
        connect(box, &QComboBox::currentIndexChanged, this, report);
    else if (auto *spin = qobject_cast<QSpinBox *>(widget))
        connect(spin, &QSpinBox::valueChanged, this, report);
    else if (auto *slider = qobject_cast<QSlider *>(widget))
        connect(slider, &QSlider::valueChanged, this, report);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(widget))
        connect(memo, &QPlainTextEdit::textChanged, this, report);
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        connect(edit, &QLineEdit::textEdited, this, report);
    else if (auto *tabs = qobject_cast<QTabWidget *>(widget))
        connect(tabs, &QTabWidget::currentChanged, this, report);
}

QWidget *SettingWidgets::widget(QAnyStringView control) const
{
    return m_widgets.value(control.toString());
}

void SettingWidgets::setItems(const TAppStrings &strings, const EncodingLists &lists)
{
    for (const SettingDescriptor *d : m_order) {
        auto *box = qobject_cast<QComboBox *>(widget(QLatin1String(d->control)));
        if (!box)
            continue;
        const QStringList items = itemsOf(*d, strings, lists);
        if (items == itemsOf(box))
            continue;
        const QSignalBlocker blocker(box);
        if (items.size() == box->count()) {
            for (int i = 0; i < box->count(); ++i)
                box->setItemText(i, items.at(i));
        } else {
            box->clear();
            box->addItems(items);
        }
    }
}

void SettingWidgets::show(const EncodingSettings &s)
{
    for (const SettingDescriptor *d : m_order)
        show(*d, s);
}

void SettingWidgets::show(const SettingDescriptor &d, const EncodingSettings &s)
{
    QWidget *w = widget(QLatin1String(d.control));
    const QSignalBlocker blocker(w);
    if (auto *check = qobject_cast<QCheckBox *>(w)) {
        check->setChecked(d.boolValue(s));
    } else if (auto *box = qobject_cast<QComboBox *>(w); box && box->isEditable()) {
        // The record keeps the text; the entry is the item showing it.
        const QString text = d.text(s);
        box->setCurrentIndex(EditableItemIndex(itemsOf(box), text));
        if (box->currentText() != text)
            box->setEditText(text);
    } else if (box) {
        const int index = d.intValue(s);
        box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
    } else if (auto *spin = qobject_cast<QSpinBox *>(w)) {
        spin->setValue(d.intValue(s));
    } else if (auto *slider = qobject_cast<QSlider *>(w)) {
        slider->setValue(d.intValue(s));
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(w)) {
        if (memo->toPlainText() != d.text(s))
            memo->setPlainText(d.text(s));
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->setText(d.text(s));
    } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
        tabs->setCurrentIndex(d.intValue(s));
    }
}

void SettingWidgets::read(const SettingDescriptor &d, EncodingSettings &s) const
{
    const QWidget *w = widget(QLatin1String(d.control));
    if (auto *check = qobject_cast<const QCheckBox *>(w))
        d.setBool(s, check->isChecked());
    else if (auto *box = qobject_cast<const QComboBox *>(w); box && box->isEditable())
        d.setText(s, box->currentText());
    else if (box)
        d.setInt(s, box->currentIndex());
    else if (auto *spin = qobject_cast<const QSpinBox *>(w))
        d.setInt(s, spin->value());
    else if (auto *slider = qobject_cast<const QSlider *>(w))
        d.setInt(s, slider->value());
    else if (auto *memo = qobject_cast<const QPlainTextEdit *>(w))
        d.setText(s, memo->toPlainText());
    else if (auto *edit = qobject_cast<const QLineEdit *>(w))
        d.setText(s, edit->text());
    else if (auto *tabs = qobject_cast<const QTabWidget *>(w))
        d.setInt(s, tabs->currentIndex());
}
