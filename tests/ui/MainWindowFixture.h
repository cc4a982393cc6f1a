#pragma once

#include "UiTestSupport.h"
#include "ui/filelist/FileListPanel.h"
#include "ui/main/MainActions.h"
#include "ui/main/MainWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

// Every window test runs the program from a folder of its own: the
// settings file, the profiles and the language files live there.
class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString &relative = {}) const;
    void write(const QString &relative, const QByteArray &bytes) const;
    QByteArray read(const QString &relative) const;
    // quillon.ini with these keys in MAIN, and analysis off.
    void writeSettings(const QByteArray &mainKeys = {}) const;
    // Copies the shipped language files (e.g. "German.ini") into lang/.
    void installLanguages(std::initializer_list<const char *> files) const;
    // Small files with media extensions (analysis is switched off).
    QString mediaFile(const QString &relative) const;

    // A new main window, shown.
    TFormMain &open();
    // Closes it (saving the settings) and destroys it.
    void closeWindow();
    // Adds files through the list and waits until their rows are there.
    void addFiles(const QStringList &files);
    // Selects rows of the list and waits until the window has seen it.
    void selectRows(std::initializer_list<int> rows);
    QAction *act(MainCommand command) const { return m_window->action(command); }
    // The main window's other windows: options, progress, error log, file
    // information, tools, update, about and command line.
    static std::vector<QWidget *> otherWindows(TFormMain &window);

    QTemporaryDir m_dir;
    QString m_programDir;
    std::unique_ptr<TFormMain> m_window;
};

// Records what the window opens through QDesktopServices, from its
// creation to its end.
class OpenedUrls : public UiTest::UrlRecorder
{
public:
    OpenedUrls();
    ~OpenedUrls() override;
};
