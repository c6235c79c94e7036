#include "ui/library/LibraryFilter.h"

#include "ui/library/LibraryModel.h"

#include <cmath>

namespace dorvane {

namespace {

bool contains(const QString &text, const QString &wanted)
{
    return text.contains(wanted, Qt::CaseInsensitive);
}

} // namespace

LibraryFilter::LibraryFilter(LibraryModel &model, QObject *parent)
    : QSortFilterProxyModel(parent), m_model(model)
{
    setSourceModel(&model);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

void LibraryFilter::setSearch(const QString &text)
{
    m_search = text.trimmed();
    invalidateFilter();
}

void LibraryFilter::setGradeAtLeast(int grade)
{
    m_gradeAtLeast = grade;
    invalidateFilter();
}

int LibraryFilter::sourceRow(int row) const
{
    return mapToSource(index(row, 0)).row();
}

bool LibraryFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const CatalogueEntry &e = m_model.entry(sourceRow);
    if (m_gradeAtLeast > 0 && (!e.error.empty() || e.figures.worstGrade() < m_gradeAtLeast))
        return false;
    if (m_search.isEmpty())
        return true;
    for (int column :
         {LibraryModel::PlaceColumn, LibraryModel::WellsColumn, LibraryModel::FileColumn})
        if (contains(m_model.text(sourceRow, column), m_search))
            return true;
    return false;
}

bool LibraryFilter::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const int column = left.column();
    const double a = m_model.sortValue(left.row(), column);
    const double b = m_model.sortValue(right.row(), column);
    if (std::isnan(a) && std::isnan(b)) {
        // Text columns, and absent figures, by what they show.
        const bool textColumn = column == LibraryModel::PlaceColumn ||
                                column == LibraryModel::WellsColumn ||
                                column == LibraryModel::FileColumn;
        if (!textColumn)
            return false;
        return QString::compare(m_model.text(left.row(), column), m_model.text(right.row(), column),
                                Qt::CaseInsensitive) < 0;
    }
    if (std::isnan(a) != std::isnan(b))
        return std::isnan(a);
    return a < b;
}

} // namespace dorvane
