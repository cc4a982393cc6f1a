#pragma once

#include "UiTestSupport.h"
#include "app/AppParams.h"
#include "ui/settings/ConversionSettingsPanel.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// A portable program folder with an empty data folder (the built-in lists)
// and an empty profiles folder, and its panel shown on its own.
class SettingsPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("data")));
        m_params = DefaultAppParams(m_dir.path());
        ASSERT_TRUE(QDir().mkpath(m_params.ProfilesDir));
        m_panel.setParams(m_params);
        m_panel.resize(1000, 450);
        m_panel.show();
    }

    template <typename W> W *w(const char *name) const
    {
        auto *widget = m_panel.findChild<W *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox *box(const char *name) const { return w<QComboBox>(name); }
    // Types into an editable list as a user does: the old text selected and
    // replaced key by key.
    void type(const char *name, const QString &text) const
    {
        QLineEdit *edit = box(name)->lineEdit();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }
    QString text(const char *name) const { return box(name)->currentText(); }

    QTemporaryDir m_dir;
    TAppParams m_params;
    ConversionSettingsPanel m_panel;
};

using UiTest::UrlRecorder;
