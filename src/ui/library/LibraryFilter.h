#pragma once

#include <QSortFilterProxyModel>

namespace dorvane {

class LibraryModel;

// The library's rows as searched, filtered by worst grade and sorted. It
// compares the model's own values rather than QVariants, so that sorting
// ten thousand surveys stays quick.
class LibraryFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit LibraryFilter(LibraryModel &model, QObject *parent = nullptr);

    // Case-insensitive, in place, wells and path.
    void setSearch(const QString &text);
    // Only surveys whose worse worst grade reaches this; 0: all.
    void setGradeAtLeast(int grade);

    // The source row of a row as shown.
    int sourceRow(int row) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    LibraryModel &m_model;
    QString m_search;
    int m_gradeAtLeast = 0;
};

} // namespace dorvane
