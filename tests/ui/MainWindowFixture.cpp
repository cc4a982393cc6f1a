#include "MainWindowFixture.h"

#include "app/ProgramDir.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/info/FileInfoWindow.h"
#include "ui/main/AboutWindow.h"
#include "ui/options/OptionsWindow.h"
#include "ui/settings/CommandLineWindow.h"
#include "ui/settings/ConversionSettingsPanel.h"
#include "ui/tools/ToolsInfoWindow.h"
#include "ui/update/CheckUpdateWindow.h"

#include <QDesktopServices>
#include <QItemSelectionModel>

void MainWindowFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_programDir = QDir(m_dir.path()).canonicalPath() + QStringLiteral("/program");
    // data/ beside the program: the portable layout, everything in one folder.
    ASSERT_TRUE(QDir().mkpath(m_programDir + QStringLiteral("/data")));
    SetProgramDir(m_programDir);
}

void MainWindowFixture::TearDown()
{
    m_window.reset();
}

QString MainWindowFixture::path(const QString &relative) const
{
    return relative.isEmpty() ? m_programDir : m_programDir + u'/' + relative;
}

void MainWindowFixture::write(const QString &relative, const QByteArray &bytes) const
{
    QDir().mkpath(QFileInfo(path(relative)).absolutePath());
    QFile file(path(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
    file.write(bytes);
}

QByteArray MainWindowFixture::read(const QString &relative) const
{
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void MainWindowFixture::writeSettings(const QByteArray &mainKeys) const
{
    write(QStringLiteral("quillon.ini"), "[MAIN]\nFileAnalysis=None\n" + mainKeys);
}

void MainWindowFixture::installLanguages(std::initializer_list<const char *> files) const
{
    QDir().mkpath(path(QStringLiteral("lang")));
    for (const char *name : files) {
        const QString target = path(QStringLiteral("lang/")) + QLatin1String(name);
        QFile::remove(target);
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(QLN_SOURCE_DIR "/lang/") + QLatin1String(name), target));
    }
}

QString MainWindowFixture::mediaFile(const QString &relative) const
{
    write(QStringLiteral("media/") + relative, "not really media");
    return path(QStringLiteral("media/") + relative);
}

TFormMain &MainWindowFixture::open()
{
    m_window = std::make_unique<TFormMain>();
    m_window->show();
    m_window->activateWindow();
    // Shortcuts reach the active window only.
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    return *m_window;
}

void MainWindowFixture::closeWindow()
{
    m_window->close();
    m_window.reset();
}

void MainWindowFixture::addFiles(const QStringList &files)
{
    FileListPanel *list = m_window->fileList();
    const size_t expected = list->rows().size() + size_t(files.size());
    list->addFiles(files);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->rows().size() == expected; }, 5000));
}

void MainWindowFixture::selectRows(std::initializer_list<int> rows)
{
    FileListPanel *list = m_window->fileList();
    // The list's own view: the one showing a row per file.
    QAbstractItemView *view = nullptr;
    for (QAbstractItemView *v : list->findChildren<QAbstractItemView *>())
        if (v->selectionMode() != QAbstractItemView::NoSelection && v->model()
            && v->model()->rowCount() == int(list->rows().size()))
            view = v;
    ASSERT_NE(view, nullptr);
    QSignalSpy settled(list, &FileListPanel::selectionSettled);
    view->clearSelection();
    if (rows.size() > 0)
        view->selectionModel()->setCurrentIndex(
            view->model()->index(*rows.begin(), 0), QItemSelectionModel::NoUpdate);
    for (int row : rows)
        view->selectionModel()->select(
            view->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !settled.isEmpty(); }, 2000));
}

OpenedUrls::OpenedUrls()
{
    for (const char *scheme : {"https", "http", "file"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
}

OpenedUrls::~OpenedUrls()
{
    for (const char *scheme : {"https", "http", "file"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}

std::vector<QWidget *> MainWindowFixture::otherWindows(TFormMain &window)
{
    return {window.optionsWindow(), window.progressWindow(), window.errorsWindow(),
        window.fileInfoWindow(), window.toolsInfoWindow(), window.checkUpdateWindow(),
        window.aboutWindow(), window.conversionSettings()->commandLineWindow()};
}
