#pragma once

#include "encoding/EncodingSettings.h"

#include <QAnyStringView>
#include <QHash>
#include <QObject>
#include <QString>
#include <vector>

class QWidget;
struct SettingDescriptor;
struct TAppStrings;

// The controls of the settings record, one per row of the settings table:
// created (or adopted) from the descriptor's kind, range and items, shown
// from a record and read back into it, all by the same few rules. A new
// setting therefore needs a table row and a place in the layout, nothing
// here.
class SettingWidgets : public QObject
{
    Q_OBJECT
public:
    explicit SettingWidgets(QObject *parent = nullptr);

    // The control of the named setting, created under parent with the
    // control's name as its object name: a check box, a list (editable or
    // not), a spin box, a horizontal track bar or a multi-line text.
    QWidget *create(QAnyStringView control, QWidget *parent);
    // Binds an existing widget (the page control's tab widget).
    void adopt(QAnyStringView control, QWidget *widget);

    QWidget *widget(QAnyStringView control) const;
    template <typename W> W *widget(QAnyStringView control) const
    {
        return qobject_cast<W *>(widget(control));
    }
    // Every bound setting, in table order.
    const std::vector<const SettingDescriptor *> &settings() const { return m_order; }

    // The list items in the current language; a list of unchanged length
    // keeps its entries' places (only the texts are replaced).
    void setItems(const TAppStrings &strings, const EncodingLists &lists);
    // Shows every bound setting of s; reports no edit.
    void show(const EncodingSettings &s);
    void show(const SettingDescriptor &d, const EncodingSettings &s);
    // Reads one control into s.
    void read(const SettingDescriptor &d, EncodingSettings &s) const;

Q_SIGNALS:
    // The user changed the control of d.
    void edited(const SettingDescriptor *d);

private:
    void bind(const SettingDescriptor &d, QWidget *widget);

    QHash<QString, QWidget *> m_widgets;
    std::vector<const SettingDescriptor *> m_order;
};
