#pragma once

#include <QAbstractTableModel>
#include <QTreeView>
#include <cstdint>
#include <vector>

struct RunningFileState;
struct TAppStrings;

// The running files of a run that converts several at once, oldest first:
// name, progress, speed and time left. A row goes when its file ends.
class RunningFilesModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ColFile, ColProgress, ColSpeed, ColTimeLeft, ColumnCount };
    // The progress column's value for the bar (0..100).
    static constexpr int PercentRole = Qt::UserRole;

    struct Row
    {
        int fileNo = 0;
        QString inputFile;
        QString outputMarkup;
        QString startStatus; // plain, until the file's first status line
        QString statusMarkup;
        int percentage = 0;
        QString speed;
        int64_t timeLeftMs = -1;
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setHeaders(const TAppStrings &strings);
    void clear();
    void addRow(const Row &row);
    void removeFile(int fileNo);
    // Only a row whose shown values differ is repainted.
    void update(const RunningFileState &state);

    int rowOf(int fileNo) const;
    const Row &row(int index) const { return m_rows[size_t(index)]; }
    int count() const { return int(m_rows.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<Row> m_rows;
    QStringList m_headers;
};

// The list of running files; clicking a file (or moving to it with the
// keys) chooses the file the window's output view follows.
class RunningFilesView : public QTreeView
{
    Q_OBJECT
public:
    explicit RunningFilesView(QWidget *parent = nullptr);

    RunningFilesModel &files() { return m_model; }
    const RunningFilesModel &files() const { return m_model; }
    void SetLang(const TAppStrings &strings);
    // Rows come and go, and the chosen row is marked, without telling
    // chosenByUser.
    void addFile(const RunningFilesModel::Row &row);
    void removeFile(int fileNo);
    void showChosen(int fileNo);

Q_SIGNALS:
    void chosenByUser(int fileNo);

private:
    RunningFilesModel m_model;
    bool m_choosing = false;
};
