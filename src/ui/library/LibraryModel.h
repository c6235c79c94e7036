#pragma once

#include "core/library/SurveyCatalogue.h"

#include <QAbstractTableModel>
#include <string>
#include <vector>

namespace dorvane {

// The catalogue's entries as a table, one row per survey file. Each cell
// shows its figure formatted and sorts by its value (SortRole); the survey
// open in the window is shown in bold.
class LibraryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        PlaceColumn,
        WellsColumn,
        FramesColumn,
        LengthColumn,
        AverageSedimentColumn,
        MaxDepositColumn,
        DepositGradeColumn,
        DeformationGradeColumn,
        VolumeColumn,
        MeanLossColumn,
        MaxLossColumn,
        FileColumn,
        ColumnCount
    };
    static constexpr int SortRole = Qt::UserRole;

    explicit LibraryModel(QObject *parent = nullptr);

    void setEntries(std::vector<CatalogueEntry> entries);
    const std::vector<CatalogueEntry> &entries() const { return m_entries; }
    const CatalogueEntry &entry(int row) const { return m_entries[static_cast<size_t>(row)]; }
    // The survey shown in bold; empty for none.
    void setOpenPath(const QString &path);
    // The row of a path; -1 when it is not listed.
    int rowOf(const QString &path) const;
    int unreadableCount() const;

    // The value a column sorts by (NaN for an absent figure, which sorts
    // first): the proxy compares these without going through QVariant.
    double sortValue(int row, int column) const;
    // The text a text column (place, wells, file) shows and sorts by.
    const QString &text(int row, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString display(int row, int column) const;

    std::vector<CatalogueEntry> m_entries;
    // The text columns, made once per listing rather than per comparison.
    std::vector<QString> m_places;
    std::vector<QString> m_wells;
    std::vector<QString> m_files;
    // As the catalogue writes paths, so that painting a cell converts nothing.
    std::string m_openPath;
};

} // namespace dorvane
