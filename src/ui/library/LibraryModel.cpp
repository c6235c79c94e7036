#include "ui/library/LibraryModel.h"

#include "core/app/TextIds.h"
#include "ui/widgets/UiText.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <cmath>
#include <limits>

namespace dorvane {

namespace {

const int ColumnTitles[LibraryModel::ColumnCount] = {
    text::PlaceColumn,           text::WellsColumn,
    text::FrameCountColumn,      text::LengthColumn,
    text::AverageSedimentColumn, text::MaxDepositColumn,
    text::DepositGradeColumn,    text::DeformationGradeColumn,
    text::VolumeColumn,          text::MeanLossColumn,
    text::MaxLossColumn,         text::FileColumn};

constexpr double Absent = std::numeric_limits<double>::quiet_NaN();

QString fixed(double value, int decimals)
{
    return std::isnan(value) ? QStringLiteral("-") : QString::number(value, 'f', decimals);
}

double valueOr(const std::optional<double> &value)
{
    return value ? *value : Absent;
}

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

LibraryModel::LibraryModel(QObject *parent) : QAbstractTableModel(parent) {}

void LibraryModel::setEntries(std::vector<CatalogueEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    m_places.clear();
    m_wells.clear();
    m_files.clear();
    for (const CatalogueEntry &e : m_entries) {
        const SurveyFigures &f = e.figures;
        m_places.push_back(e.error.empty() ? fromUtf8(f.place)
                                           : uiText(text::UnreadableSurvey).arg(fromUtf8(e.error)));
        m_wells.push_back(!e.error.empty() || (f.startWell.empty() && f.endWell.empty())
                              ? QString()
                              : fromUtf8(f.startWell) + '-' + fromUtf8(f.endWell));
        m_files.push_back(fromUtf8(e.path));
    }
    endResetModel();
}

void LibraryModel::setOpenPath(const QString &path)
{
    const int before = rowOf(QString::fromStdString(m_openPath));
    m_openPath = path.toStdString();
    for (int row : {before, rowOf(path)})
        if (row >= 0)
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {Qt::FontRole});
}

int LibraryModel::rowOf(const QString &path) const
{
    if (path.isEmpty())
        return -1;
    const std::string wanted = path.toStdString();
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].path == wanted)
            return static_cast<int>(i);
    return -1;
}

int LibraryModel::unreadableCount() const
{
    int n = 0;
    for (const CatalogueEntry &e : m_entries)
        n += !e.error.empty();
    return n;
}

double LibraryModel::sortValue(int row, int column) const
{
    const CatalogueEntry &e = entry(row);
    const SurveyFigures &f = e.figures;
    if (!e.error.empty() && column != FileColumn)
        return Absent;
    switch (column) {
    case FramesColumn:
        return f.frameCount;
    case LengthColumn:
        return f.surveyedLengthM;
    case AverageSedimentColumn:
        return f.averageSedimentPermille / 10.0;
    case MaxDepositColumn:
        return valueOr(f.maxSedimentDepthPct);
    case DepositGradeColumn:
        return f.worstDepositGrade;
    case DeformationGradeColumn:
        return f.worstDeformationGrade;
    case VolumeColumn:
        return f.sedimentVolumeM3;
    case MeanLossColumn:
        return valueOr(f.meanCapacityLossPct);
    case MaxLossColumn:
        return valueOr(f.maxCapacityLossPct);
    default:
        return Absent; // the text columns sort by their text
    }
}

const QString &LibraryModel::text(int row, int column) const
{
    const auto i = static_cast<size_t>(row);
    return column == PlaceColumn ? m_places[i] : column == WellsColumn ? m_wells[i] : m_files[i];
}

QString LibraryModel::display(int row, int column) const
{
    if (column == PlaceColumn || column == WellsColumn || column == FileColumn)
        return text(row, column);
    if (!entry(row).error.empty())
        return {};
    const double value = sortValue(row, column);
    switch (column) {
    case FramesColumn:
    case DepositGradeColumn:
    case DeformationGradeColumn:
        return fixed(value, 0);
    case VolumeColumn:
        return fixed(value, 3);
    case AverageSedimentColumn:
        return fixed(value, 1);
    default:
        return fixed(value, 2);
    }
}

int LibraryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int LibraryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LibraryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const CatalogueEntry &e = entry(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return display(index.row(), index.column());
    case SortRole:
        return sortValue(index.row(), index.column());
    case Qt::ToolTipRole:
        return e.error.empty() ? fromUtf8(e.path) : fromUtf8(e.error);
    case Qt::TextAlignmentRole:
        return index.column() == PlaceColumn || index.column() == WellsColumn ||
                       index.column() == FileColumn
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
        if (!m_openPath.empty() && e.path == m_openPath) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ForegroundRole:
        if (!e.error.empty())
            return QColor(180, 0, 0);
        return {};
    default:
        return {};
    }
}

QVariant LibraryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return uiText(ColumnTitles[section]);
}

} // namespace dorvane
