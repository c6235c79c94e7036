#pragma once

#include "core/assess/ConditionAssessment.h"

#include <QWidget>
#include <array>

class QLabel;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace dorvane {

// The page beside the assessment chart: the section's summary, the length
// in each grade of each kind, and the defect records as a sortable table.
// Clicking a record (or Enter on it) asks to go to its first frame.
class AssessmentPanel : public QWidget
{
    Q_OBJECT

public:
    enum Column
    {
        CodeColumn,
        NameColumn,
        GradeColumn,
        ScoreColumn,
        FromColumn,
        ToColumn,
        LengthColumn,
        WorstColumn,
        FramesColumn,
        ColumnCount
    };

    explicit AssessmentPanel(QWidget *parent = nullptr);

    void showAssessment(const ConditionAssessment &assessment, const GradingTable &grades);
    void clear();

    QTableView &records() { return *m_records; }
    // The summary's value texts: length, volume, mean and largest loss.
    QString summaryText(int row) const;
    // The first frame of the record in a row of the table as sorted.
    int firstFrameOfRow(int row) const;

signals:
    void frameClicked(int frame);

private:
    void rowChosen(const QModelIndex &index);

    std::array<QLabel *, 4> m_summary{};
    std::array<QLabel *, DefectKindCount> m_kindNames{};
    std::array<std::array<QLabel *, 1 + GradeCount>, DefectKindCount> m_gradeCells{};
    QLabel *m_noRecords;
    QStandardItemModel *m_model;
    QSortFilterProxyModel *m_sorted;
    QTableView *m_records;
};

} // namespace dorvane
