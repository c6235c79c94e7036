#pragma once

#include "core/library/SurveyCatalogue.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;
class QToolButton;

namespace dorvane {

class BatchReportRun;
class LibraryFilter;
class LibraryModel;
class LibraryScanner;
class UserPrompts;

// The library page: every survey of the library's folders with its key
// figures, searched, filtered by worst grade and sorted; a survey opens
// with a double click or Enter, and a selection is reported in one batch.
// The folders are rescanned when the page shows and, while it shows,
// whenever something in them changes.
class LibraryPanel : public QWidget
{
    Q_OBJECT

public:
    explicit LibraryPanel(UserPrompts &prompts, QWidget *parent = nullptr);
    ~LibraryPanel() override;

    // Where the catalogue lives; the user's own one unless set (before the
    // page first shows).
    void setCataloguePath(const std::string &path) { m_cataloguePath = path; }
    // The survey open in the window, shown in bold.
    void setOpenSurvey(const QString &path);

    LibraryModel &model() { return *m_model; }
    LibraryFilter &filter() { return *m_filter; }
    QTableView &table() { return *m_table; }
    LibraryScanner &scanner() { return *m_scanner; }
    BatchReportRun &batch() { return *m_batch; }
    QString statusText() const;

    void rescan();

signals:
    // A survey of the list is to be opened in the window.
    void openRequested(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    bool ensureCatalogue();
    void reload();
    void addFolder();
    void fillRemoveMenu();
    void scanProgress(int done, int total);
    void scanFinished(bool opened);
    void reportSelected();
    void batchFinished();
    void rowActivated(const QModelIndex &index);
    void watchFolders();
    void showWork(int textId, bool busy);
    void showCount();

    UserPrompts &m_prompts;
    std::string m_cataloguePath;
    std::unique_ptr<SurveyCatalogue> m_catalogue;
    LibraryModel *m_model;
    LibraryFilter *m_filter;
    LibraryScanner *m_scanner;
    BatchReportRun *m_batch;
    QLineEdit *m_search;
    QComboBox *m_grade;
    QPushButton *m_add;
    QToolButton *m_remove;
    QPushButton *m_rescan;
    QPushButton *m_report;
    QTableView *m_table;
    QLabel *m_status;
    QProgressBar *m_progress;
    QPushButton *m_cancel;
    QFileSystemWatcher *m_watcher;
    QTimer *m_rescanTimer;
    bool m_rescanPending = false;
};

} // namespace dorvane
