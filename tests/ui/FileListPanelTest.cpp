#include "ui/filelist/FileListPanel.h"

#include "app/TextHelpers.h"
#include "ui/FileListPanelTestSupport.h"
#include "ui/filelist/FileListFooterBar.h"

#include <QAction>
#include <QDesktopServices>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QUrl>

using namespace PanelTest;
using namespace Qt::StringLiterals;

namespace {

QString Cell(FileListPanel &panel, int row, int column, int role = Qt::DisplayRole)
{
    return View(panel)->model()->index(row, column).data(role).toString();
}

// Where the footer draws a column's text and where the table shows the
// column, both in the panel's coordinates.
int FooterX(FileListPanel &panel, int column)
{
    auto *footer = panel.findChild<FileListFooterBar *>();
    return footer->mapTo(&panel, footer->cellRect(column).topLeft()).x();
}

int ColumnX(FileListPanel &panel, int column)
{
    QTableView *view = View(panel);
    return view->viewport()
        ->mapTo(&panel, QPoint(view->horizontalHeader()->sectionViewportPosition(column), 0))
        .x();
}

void ClickHeader(FileListPanel &panel, int column)
{
    QHeaderView *header = View(panel)->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
            header->height() / 2));
}

} // namespace

TEST(FileListPanelView, FooterFormatsAndStringsFollowTheRowsAndColumns)
{
    REQUIRE_CLIPS();
    QTemporaryDir dir;
    const QString sep(DecimalSeparatorChar());
    FileListPanel panel;
    panel.resize(900, 300);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.setParams(Params(faQuick));
    Touch(dir.filePath("c.mkv"), 1000); // not media: no analysis
    panel.addFiles({Copy(MadeClips().avi, dir.filePath("a.avi")),
        Copy(MadeClips().mkv, dir.filePath("b.mkv")), dir.filePath("c.mkv")});
    ASSERT_TRUE(WaitIdle(panel));
    auto *footer = panel.findChild<FileListFooterBar *>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return footer->texts()[colDuration] == "00:00:04"; }));
    EXPECT_EQ(footer->texts()[colNo], "3");

    EXPECT_EQ(Cell(panel, 1, colDuration), "00:00:02");
    EXPECT_EQ(Cell(panel, 1, colVideoFPS), "25" + sep + "00");
    EXPECT_EQ(Cell(panel, 1, colVideoResolution), "160 x 120");
    EXPECT_EQ(Cell(panel, 2, colSize), "1000 bytes");
    EXPECT_EQ(Cell(panel, 2, colVideo), "");
    EXPECT_EQ(Cell(panel, 2, colStatus), "Ready");
    EXPECT_TRUE(
        View(panel)->model()->index(0, colFileName).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(footer->texts()[colActive], "3");
    EXPECT_EQ(View(panel)->accessibleName(), "File list");
    EXPECT_EQ(footer->texts()[colVideoFPS], "AVG  25" + sep + "00");

    // Unchecking a row by its check box: out of the sums, drawn dimmed.
    QTest::mouseClick(View(panel)->viewport(), Qt::LeftButton, {}, CellCentre(panel, 0, colActive));
    EXPECT_FALSE(panel.rows()[0].active);
    ASSERT_TRUE(QTest::qWaitFor([&] { return footer->texts()[colActive] == "2"; }));
    EXPECT_EQ(footer->texts()[colDuration], "00:00:02");
    const QVariant dimmed = View(panel)->model()->index(0, colFileName).data(Qt::BackgroundRole);
    EXPECT_EQ(dimmed.value<QColor>(), View(panel)->palette().color(QPalette::Button));
    EXPECT_FALSE(View(panel)->model()->index(1, colFileName).data(Qt::BackgroundRole).isValid());

    // The footer stays under its columns when they are resized, hidden and
    // scrolled.
    EXPECT_EQ(FooterX(panel, colSize), ColumnX(panel, colSize));
    View(panel)->horizontalHeader()->resizeSection(colDirectory, 400);
    EXPECT_EQ(FooterX(panel, colSize), ColumnX(panel, colSize));
    QAction *directory = panel.columnActions()[2];
    ASSERT_EQ(directory->objectName(), "actColDirectoryVisible");
    directory->trigger();
    EXPECT_TRUE(View(panel)->isColumnHidden(colDirectory));
    EXPECT_TRUE(footer->cellRect(colDirectory).isEmpty());
    EXPECT_EQ(FooterX(panel, colSize), ColumnX(panel, colSize));
    View(panel)->horizontalScrollBar()->setValue(120);
    EXPECT_EQ(FooterX(panel, colStatus), ColumnX(panel, colStatus));

    // A language file over the catalogue reaches headers, commands and footer.
    const QString lang = dir.filePath("Test.ini");
    ASSERT_TRUE(TestSupport::WriteFile(lang,
        "\xEF\xBB\xBF[MAIN]\ncolSize=Gr\xC3\xB6\xC3\x9F"
        "e\ncolVideoFPS=Bilder/s\nAverageShort=MITTEL\n"));
    TAppStrings strings;
    strings.LoadFromFile(lang);
    panel.SetLang(strings);
    EXPECT_EQ(View(panel)->model()->headerData(colSize, Qt::Horizontal).toString(), u"Größe");
    EXPECT_EQ(panel.columnActions()[14]->text(), "Bilder/s");
    ASSERT_TRUE(QTest::qWaitFor([&] { return footer->texts()[colVideoFPS].startsWith("MITTEL"); }));
}

TEST(FileListPanelView, SortingMovingAndColumnStates)
{
    QTemporaryDir dir;
    Touch(dir.filePath("b.mkv"), 300);
    Touch(dir.filePath("a.mkv"), 100);
    Touch(dir.filePath("c.mkv"), 200);
    FileListPanel panel;
    panel.resize(900, 300);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.addFiles({dir.filePath("b.mkv"), dir.filePath("a.mkv"), dir.filePath("c.mkv")});

    // A header click reorders the rows themselves; numbers stay with them.
    ClickHeader(panel, colSize);
    EXPECT_EQ(Names(panel), QStringList({"a.mkv", "c.mkv", "b.mkv"}));
    EXPECT_EQ(panel.rows()[0].no, 2);
    ClickHeader(panel, colSize);
    EXPECT_EQ(Names(panel), QStringList({"b.mkv", "c.mkv", "a.mkv"}));
    ClickHeader(panel, colFileName);
    EXPECT_EQ(Names(panel), QStringList({"a.mkv", "b.mkv", "c.mkv"}));
    // No arrow over the check column's picture, though it sorts.
    EXPECT_TRUE(View(panel)->horizontalHeader()->isSortIndicatorShown());
    ClickHeader(panel, colActive);
    EXPECT_FALSE(View(panel)->horizontalHeader()->isSortIndicatorShown());
    ClickHeader(panel, colFileName);
    // A row added at the end: the list is no longer in the order shown.
    Touch(dir.filePath("0.mkv"));
    panel.addFiles({dir.filePath("0.mkv")});
    ASSERT_TRUE(WaitIdle(panel));
    EXPECT_EQ(Names(panel), QStringList({"a.mkv", "b.mkv", "c.mkv", "0.mkv"}));
    EXPECT_FALSE(View(panel)->horizontalHeader()->isSortIndicatorShown());

    // Grid lines of selected cells: the selection colour less 10 %, in
    // the list as drawn.
    View(panel)->selectRow(0);
    View(panel)->selectionModel()->select(
        View(panel)->model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QColor selection = View(panel)->palette().color(
        View(panel)->hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight);
    const QColor darker(selection.red() - selection.red() / 10,
        selection.green() - selection.green() / 10, selection.blue() - selection.blue() / 10);
    const QRect cell = View(panel)->visualRect(View(panel)->model()->index(0, colFileName));
    const QImage drawn = View(panel)->viewport()->grab().toImage();
    EXPECT_EQ(QColor(drawn.pixel(cell.center().x(), cell.bottom() + 1)), darker);
    EXPECT_EQ(QColor(drawn.pixel(cell.right() + 1, cell.center().y())), darker);

    // A row dropped in front of another.
    QAbstractItemModel *model = View(panel)->model();
    std::unique_ptr<QMimeData> dragged(model->mimeData({model->index(2, colFileName)}));
    ASSERT_TRUE(model->dropMimeData(dragged.get(), Qt::MoveAction, 0, 0, {}));
    EXPECT_EQ(Names(panel), QStringList({"c.mkv", "a.mkv", "b.mkv", "0.mkv"}));
    panel.setRowMovingAllowed(false);
    EXPECT_FALSE(View(panel)->dragEnabled());

    // A large list font widens the duration column to its values; a wider
    // one stays.
    const int before = View(panel)->columnWidth(colDuration);
    QFont large = panel.font();
    large.setPointSize(24);
    panel.setListFont(large);
    EXPECT_GE(View(panel)->columnWidth(colDuration),
        QFontMetrics(large).horizontalAdvance(QStringLiteral("00:00:00")));
    EXPECT_GT(View(panel)->columnWidth(colDuration), before);
    View(panel)->setColumnWidth(colDuration, 500);
    panel.setListFont(large);
    EXPECT_EQ(View(panel)->columnWidth(colDuration), 500);
    View(panel)->setColumnWidth(colDuration, before);

    // Widths, positions and visibility as the settings file keeps them.
    auto states = panel.columnStates();
    EXPECT_EQ(states[colDirectory].Width, 220);
    EXPECT_FALSE(states[colVideoCodec].Visible);
    for (ColumnState &state : states)
        if (state.Position >= 1 && state.Position < states[colStatus].Position)
            ++state.Position;
    states[colStatus].Position = 1;
    states[colSize].Width = 150;
    states[colVideo].Visible = false;
    panel.setColumnStates(states);
    EXPECT_EQ(panel.columnStates(), states);
    EXPECT_EQ(View(panel)->horizontalHeader()->logicalIndex(1), colStatus);
    EXPECT_FALSE(panel.columnActions()[5]->isChecked()); // actColVideoVisible
    panel.columnActions()[5]->trigger();
    EXPECT_TRUE(panel.columnStates()[colVideo].Visible);
}

TEST(FileListPanelView, DeleteSpaceAndUndo)
{
    QTemporaryDir dir;
    QStringList files;
    for (const QString &name : {u"a.mkv"_s, u"b.mkv"_s, u"c.mkv"_s, u"d.mkv"_s}) {
        Touch(dir.filePath(name));
        files.append(dir.filePath(name));
    }
    FileListPanel panel;
    panel.resize(900, 300);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.addFiles(files);
    QTableView *view = View(panel);
    view->setFocus();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, CellCentre(panel, 1, colFileName));
    QTest::mouseClick(
        view->viewport(), Qt::LeftButton, Qt::ControlModifier, CellCentre(panel, 2, colFileName));
    const auto checks = [&] {
        QString marks;
        for (const FileListRow &row : panel.rows())
            marks += row.active ? 'x' : '-';
        return marks;
    };

    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_EQ(checks(), "x--x");
    EXPECT_EQ(panel.gridInfo().SelectedUncheckedCount, 2);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, CellCentre(panel, 3, colFileName));
    QTest::mouseClick(
        view->viewport(), Qt::LeftButton, Qt::ControlModifier, CellCentre(panel, 2, colFileName));
    QTest::keyClick(view, Qt::Key_Space); // mixed: all become checked
    EXPECT_EQ(checks(), "x-xx");

    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(Names(panel), QStringList({"a.mkv", "b.mkv"}));
    EXPECT_EQ(panel.rows()[1].no, 2);
    EXPECT_TRUE(panel.canUndoRemove());
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Names(panel), QStringList({"a.mkv", "b.mkv", "c.mkv", "d.mkv"}));
    EXPECT_EQ(panel.rows()[3].no, 4);
    EXPECT_FALSE(panel.canUndoRemove());

    panel.removeChecked();
    EXPECT_EQ(Names(panel), QStringList({"b.mkv"}));
    panel.undoRemove();
    EXPECT_EQ(checks(), "x-xx");
    panel.clear();
    EXPECT_TRUE(panel.rows().empty());
    panel.undoRemove();
    EXPECT_EQ(panel.rows().size(), 4u);

    // A file added again since its removal is not brought back twice.
    view->selectRow(0);
    panel.removeSelected();
    panel.addFiles({files[0]});
    panel.undoRemove();
    EXPECT_EQ(Names(panel), QStringList({"b.mkv", "c.mkv", "d.mkv", "a.mkv"}));
}

TEST(FileListPanelView, IconClickOpensTheFileAndSelectionSettles)
{
    QTemporaryDir dir;
    Touch(dir.filePath("a.mkv"));
    Touch(dir.filePath("b.mkv"));
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "open");
    FileListPanel panel;
    panel.resize(900, 300);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    TAppParams params = Params(faNone);
    panel.setParams(params);
    panel.addFiles({dir.filePath("a.mkv"), dir.filePath("b.mkv")});
    QSignalSpy settled(&panel, &FileListPanel::selectionSettled);
    QWidget *viewport = View(panel)->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, CellCentre(panel, 1, colIcon));
    EXPECT_EQ(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(dir.filePath("b.mkv"))});
    EXPECT_EQ(settled.count(), 0); // not at once
    ASSERT_TRUE(settled.wait(2000));
    EXPECT_EQ(settled.last().at(0).toInt(), 1);
    EXPECT_EQ(panel.currentRow(), 1);

    QFile::remove(dir.filePath("a.mkv"));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, CellCentre(panel, 0, colIcon));
    params.OpenFileAfterIconClick = false;
    panel.setParams(params);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, CellCentre(panel, 1, colIcon));
    EXPECT_EQ(recorder.urls.size(), 1);
    QDesktopServices::unsetUrlHandler("file");
}

TEST(FileListPanelView, ListFilesRoundTrip)
{
    QTemporaryDir dir;
    const QStringList files{
        dir.filePath(u"Übung ñ.mkv"_s), dir.filePath(u"日本.avi"_s), dir.filePath("plain.mkv")};
    for (const QString &file : files)
        Touch(file);
    FileListPanel panel;
    panel.addFiles(files);
    panel.invertChecks(); // unchecked rows are saved too
    const QString list = dir.filePath("list.lst");
    QString error;
    ASSERT_TRUE(panel.saveListFile(list, &error)) << error.toStdString();
    EXPECT_EQ(TestSupport::ReadFile(list), (files.join("\r\n") + "\r\n").toUtf8());

    FileListPanel loaded;
    ASSERT_TRUE(loaded.loadListFile(list, &error));
    ASSERT_EQ(loaded.rows().size(), 3u);
    EXPECT_EQ(fullFileName(loaded.rows()[1]), files[1]);
    EXPECT_TRUE(loaded.rows()[1].active);

    // A byte-order mark, LF, CR LF and CR CR LF, a line twice: two new rows.
    const QString bom = dir.filePath("bom.lst");
    ASSERT_TRUE(TestSupport::WriteFile(bom,
        "\xEF\xBB\xBF" + (files[0] + "\n" + files[0] + "\r\n" + files[1] + "\r\r\n").toUtf8()));
    FileListPanel fromBom;
    ASSERT_TRUE(fromBom.loadListFile(bom, &error));
    EXPECT_EQ(Names(fromBom), (QStringList{u"Übung ñ.mkv"_s, u"日本.avi"_s}));

    // Never saved over a listed file, also through a link.
    const QString link = dir.filePath("link.lst");
    ASSERT_TRUE(QFile::link(files[0], link));
    EXPECT_FALSE(fromBom.saveListFile(link, &error));
    EXPECT_EQ(error,
        u"\"%1\" is one of the files in the list; the list is not written over it"_s.arg(link));
    EXPECT_EQ(QFileInfo(files[0]).size(), 4);

    // Failures say so and leave the rows as they were.
    EXPECT_FALSE(fromBom.loadListFile(dir.filePath("missing.lst"), &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(fromBom.saveListFile(files[2] + "/list.lst", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(fromBom.rows().size(), 2u);
}
