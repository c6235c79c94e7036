#include "ui/display/AssessmentPanel.h"

#include "core/app/TextIds.h"
#include "core/app/TextService.h"
#include "ui/widgets/UiText.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace dorvane {

namespace {

constexpr int SortRole = Qt::UserRole;
constexpr int FrameRole = Qt::UserRole + 1;

const int ColumnTitles[AssessmentPanel::ColumnCount] = {
    text::DefectCodeColumn, text::DefectNameColumn, text::GradeColumn,
    text::ScoreColumn,      text::FromColumn,       text::ToColumn,
    text::LengthColumn,     text::WorstValueColumn, text::FramesColumn};

// A cell that shows a text and sorts by a number.
QStandardItem *cell(const QString &text, double sortValue)
{
    auto *item = new QStandardItem(text);
    item->setData(sortValue, SortRole);
    item->setEditable(false);
    return item;
}

QString metres(double value, int decimals = 2)
{
    return QString::number(value, 'f', decimals);
}

QString percent(double value)
{
    return QString::number(value, 'f', 2) + " %";
}

} // namespace

AssessmentPanel::AssessmentPanel(QWidget *parent)
    : QWidget(parent), m_noRecords(new QLabel(uiText(text::NoGradedDefects), this)),
      m_model(new QStandardItemModel(0, ColumnCount, this)),
      m_sorted(new QSortFilterProxyModel(this)), m_records(new QTableView(this))
{
    setObjectName("assessmentPanel");
    auto *form = new QFormLayout;
    const int summaryNames[] = {text::AssessedLength, text::SedimentVolume, text::MeanCapacityLoss,
                                text::LargestCapacityLoss};
    for (size_t i = 0; i < m_summary.size(); ++i) {
        m_summary[i] = new QLabel(this);
        m_summary[i]->setObjectName(QString("assessmentSummary%1").arg(i));
        form->addRow(new QLabel(uiText(summaryNames[i]) + ':', this), m_summary[i]);
    }

    // Per kind: its worst grade, then its length in grades 1 to 4.
    auto *grades = new QGridLayout;
    grades->addWidget(new QLabel(uiText(text::LengthPerGrade), this), 0, 0);
    grades->addWidget(new QLabel(uiText(text::WorstGradeColumn), this), 0, 1, Qt::AlignRight);
    for (int g = 1; g <= GradeCount; ++g)
        grades->addWidget(new QLabel(uiText(text::GradeOfDefect).arg(g), this), 0, 1 + g,
                          Qt::AlignRight);
    for (int k = 0; k < DefectKindCount; ++k) {
        m_kindNames[static_cast<size_t>(k)] = new QLabel(this);
        grades->addWidget(m_kindNames[static_cast<size_t>(k)], 1 + k, 0);
        for (int c = 0; c <= GradeCount; ++c) {
            auto *value = new QLabel(this);
            value->setObjectName(QString("gradeLength%1_%2").arg(k).arg(c));
            grades->addWidget(value, 1 + k, 1 + c, Qt::AlignRight);
            m_gradeCells[static_cast<size_t>(k)][static_cast<size_t>(c)] = value;
        }
    }

    QStringList titles;
    for (int id : ColumnTitles)
        titles << uiText(id);
    m_model->setHorizontalHeaderLabels(titles);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(SortRole);
    m_records->setObjectName("defectRecords");
    m_records->setModel(m_sorted);
    m_records->setSortingEnabled(true);
    m_records->sortByColumn(FromColumn, Qt::AscendingOrder);
    m_records->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_records->setSelectionMode(QAbstractItemView::SingleSelection);
    m_records->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_records->verticalHeader()->hide();
    m_records->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_records->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_records->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_noRecords->setObjectName("noDefectRecords");
    m_noRecords->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(grades);
    layout->addSpacing(8);
    layout->addWidget(m_noRecords);
    layout->addWidget(m_records, 1);

    connect(m_records, &QTableView::clicked, this, &AssessmentPanel::rowChosen);
    connect(m_records, &QTableView::activated, this, &AssessmentPanel::rowChosen);
    clear();
}

void AssessmentPanel::showAssessment(const ConditionAssessment &a, const GradingTable &grades)
{
    const SectionSummary &s = a.summary;
    const QString length = metres(s.assessedLengthM) + " m";
    const QString volume = metres(s.sedimentVolumeM3, 3) + " m³";
    m_summary[0]->setText(length);
    m_summary[1]->setText(volume);
    m_summary[2]->setText(s.meanCapacityLossPct ? percent(*s.meanCapacityLossPct) : "-");
    m_summary[3]->setText(s.maxCapacityLossPct ? uiText(text::ValueAtFrame)
                                                     .arg(percent(*s.maxCapacityLossPct))
                                                     .arg(s.maxCapacityLossFrame + 1)
                                               : "-");
    const bool english = shownLanguage() != 0;
    for (int k = 0; k < DefectKindCount; ++k) {
        const DefectGrading &grading = grades.of(static_cast<DefectKind>(k));
        const auto kind = static_cast<size_t>(k);
        m_kindNames[kind]->setText(
            QString::fromStdString(grading.code) + ' ' +
            QString::fromStdString(english ? grading.nameEn : grading.nameZh));
        m_gradeCells[kind][0]->setText(QString::number(s.worstGrade[kind]));
        for (size_t g = 0; g < GradeCount; ++g)
            m_gradeCells[kind][1 + g]->setText(metres(s.lengthInGradeM[kind][g]));
    }

    m_model->removeRows(0, m_model->rowCount());
    for (const DefectRecord &r : a.records) {
        const DefectGrading &grading = grades.of(r.kind);
        QList<QStandardItem *> row{
            cell(QString::fromStdString(grading.code), static_cast<double>(r.kind)),
            cell(QString::fromStdString(english ? grading.nameEn : grading.nameZh),
                 static_cast<double>(r.kind)),
            cell(QString::number(r.grade), r.grade),
            cell(QString::number(r.score, 'g', 6), r.score),
            cell(metres(r.fromM), r.fromM),
            cell(metres(r.toM), r.toM),
            cell(metres(r.lengthM), r.lengthM),
            cell(uiText(text::ValueAtFrame)
                     .arg(QString::number(r.worstValue, 'f', 1) + " %")
                     .arg(r.worstFrame + 1),
                 r.worstValue),
            cell(QString("%1–%2").arg(r.firstFrame + 1).arg(r.lastFrame + 1), r.firstFrame)};
        row.front()->setData(r.firstFrame, FrameRole);
        m_model->appendRow(row);
    }
    m_noRecords->setVisible(a.records.empty());
    m_records->setVisible(!a.records.empty());
}

void AssessmentPanel::clear()
{
    for (QLabel *label : m_summary)
        label->setText("-");
    for (auto &row : m_gradeCells)
        for (QLabel *label : row)
            label->clear();
    for (QLabel *label : m_kindNames)
        label->clear();
    m_model->removeRows(0, m_model->rowCount());
    m_noRecords->hide();
    m_records->show();
}

QString AssessmentPanel::summaryText(int row) const
{
    return m_summary[static_cast<size_t>(row)]->text();
}

int AssessmentPanel::firstFrameOfRow(int row) const
{
    const QModelIndex index = m_sorted->mapToSource(m_sorted->index(row, 0));
    return index.isValid() ? m_model->item(index.row(), 0)->data(FrameRole).toInt() : -1;
}

void AssessmentPanel::rowChosen(const QModelIndex &index)
{
    if (index.isValid())
        emit frameClicked(firstFrameOfRow(index.row()));
}

} // namespace dorvane
