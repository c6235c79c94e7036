#include "ui/library/LibraryPanel.h"

#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"
#include "ui/library/BatchReportRun.h"
#include "ui/library/LibraryFilter.h"
#include "ui/library/LibraryModel.h"
#include "ui/library/LibraryScanner.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/GradingTableChoice.h"
#include "ui/widgets/ReportCellSettings.h"
#include "ui/widgets/UiText.h"
#include "ui/widgets/UserPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <set>

namespace dorvane {

namespace {

constexpr int RescanDelayMs = 1000;
// Folders watched at most: a watch costs a descriptor each.
constexpr int MaxWatchedFolders = 2000;

} // namespace

LibraryPanel::LibraryPanel(UserPrompts &prompts, QWidget *parent)
    : QWidget(parent), m_prompts(prompts), m_cataloguePath(SurveyCatalogue::defaultPath()),
      m_model(new LibraryModel(this)), m_filter(new LibraryFilter(*m_model, this)),
      m_scanner(new LibraryScanner(this)), m_batch(new BatchReportRun(this)),
      m_search(new QLineEdit(this)), m_grade(new QComboBox(this)),
      m_add(new QPushButton(uiText(text::AddLibraryFolder), this)), m_remove(new QToolButton(this)),
      m_rescan(new QPushButton(uiText(text::RescanLibrary), this)),
      m_report(new QPushButton(uiText(text::ReportSelected), this)), m_table(new QTableView(this)),
      m_status(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_cancel(new QPushButton(uiText(text::CancelWork), this)),
      m_watcher(new QFileSystemWatcher(this)), m_rescanTimer(new QTimer(this))
{
    setObjectName("libraryPanel");
    m_search->setObjectName("librarySearch");
    m_search->setPlaceholderText(uiText(text::LibrarySearchHint));
    m_search->setClearButtonEnabled(true);
    m_grade->setObjectName("libraryGradeFilter");
    m_grade->addItem(uiText(text::AllGrades));
    for (int g = 1; g <= GradeCount; ++g)
        m_grade->addItem(uiText(text::GradeAtLeast).arg(g));
    m_add->setObjectName("addLibraryFolderButton");
    m_remove->setObjectName("removeLibraryFolderButton");
    m_remove->setText(uiText(text::RemoveLibraryFolder));
    m_remove->setPopupMode(QToolButton::InstantPopup);
    m_remove->setMenu(new QMenu(m_remove));
    m_rescan->setObjectName("rescanLibraryButton");
    m_report->setObjectName("reportSelectedButton");
    m_cancel->setObjectName("cancelLibraryWorkButton");
    m_status->setObjectName("libraryStatus");
    m_progress->setObjectName("libraryProgress");

    m_table->setObjectName("libraryTable");
    m_table->setModel(m_filter);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(LibraryModel::PlaceColumn, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // Widths from the headings alone: measuring every row of a large
    // library would stall the page.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < LibraryModel::ColumnCount; ++c)
        m_table->setColumnWidth(
            c, fontMetrics().horizontalAdvance(
                   m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) +
                   28);
    // Places are the longest texts: room for a dozen characters.
    m_table->setColumnWidth(LibraryModel::PlaceColumn, fontMetrics().averageCharWidth() * 24);
    m_table->setColumnWidth(LibraryModel::WellsColumn, fontMetrics().averageCharWidth() * 10);
    // The table scrolls rather than widening the window.
    m_table->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_grade);
    auto *buttons = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_add, m_remove, m_rescan, m_report})
        buttons->addWidget(w);
    buttons->addStretch();
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(m_status, 1);
    statusRow->addWidget(m_progress);
    statusRow->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addLayout(buttons);
    layout->addWidget(m_table, 1);
    layout->addLayout(statusRow);
    m_progress->hide();
    m_cancel->hide();

    m_rescanTimer->setSingleShot(true);
    m_rescanTimer->setInterval(RescanDelayMs);
    connect(m_rescanTimer, &QTimer::timeout, this, &LibraryPanel::rescan);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_rescanTimer,
            qOverload<>(&QTimer::start));
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_filter->setSearch(text);
        showCount();
    });
    connect(m_grade, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_filter->setGradeAtLeast(index);
        showCount();
    });
    connect(m_add, &QPushButton::clicked, this, &LibraryPanel::addFolder);
    connect(m_remove->menu(), &QMenu::aboutToShow, this, &LibraryPanel::fillRemoveMenu);
    connect(m_rescan, &QPushButton::clicked, this, &LibraryPanel::rescan);
    connect(m_report, &QPushButton::clicked, this, &LibraryPanel::reportSelected);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_scanner->cancel();
        m_batch->cancel();
    });
    connect(m_table, &QTableView::activated, this, &LibraryPanel::rowActivated);
    connect(m_scanner, &LibraryScanner::progress, this, &LibraryPanel::scanProgress);
    connect(m_scanner, &LibraryScanner::finished, this,
            [this](const ScanResult &, bool opened) { scanFinished(opened); });
    connect(m_batch, &BatchReportRun::progress, this, &LibraryPanel::scanProgress);
    connect(m_batch, &BatchReportRun::finished, this, &LibraryPanel::batchFinished);
}

LibraryPanel::~LibraryPanel() = default;

bool LibraryPanel::ensureCatalogue()
{
    if (!m_catalogue)
        m_catalogue = SurveyCatalogue::open(m_cataloguePath, m_prompts);
    return m_catalogue != nullptr;
}

void LibraryPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!ensureCatalogue())
        return;
    reload();
    watchFolders();
    rescan();
}

void LibraryPanel::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Changes while the page is away are found when it shows again.
    const QStringList watched = m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
    m_rescanTimer->stop();
}

void LibraryPanel::setOpenSurvey(const QString &path)
{
    m_model->setOpenPath(path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath());
}

void LibraryPanel::reload()
{
    if (!m_catalogue)
        return;
    m_model->setEntries(m_catalogue->list());
    showCount();
}

void LibraryPanel::rescan()
{
    if (!ensureCatalogue())
        return;
    if (m_scanner->isRunning()) {
        m_rescanPending = true;
        return;
    }
    // A table that cannot be used is told by the assessment page.
    SilentMessageSink silent;
    if (m_scanner->start(m_catalogue->path(), GradingTableChoice::load(silent)))
        showWork(text::ScanningLibrary, true);
}

void LibraryPanel::scanProgress(int done, int total)
{
    m_progress->setRange(0, std::max(total, 1));
    m_progress->setValue(done);
}

void LibraryPanel::scanFinished(bool opened)
{
    showWork(0, false);
    if (!opened)
        m_prompts.showMessage(text::LibraryUnavailable, m_cataloguePath);
    reload();
    if (isVisible())
        watchFolders();
    if (std::exchange(m_rescanPending, false))
        rescan();
}

void LibraryPanel::addFolder()
{
    if (!ensureCatalogue())
        return;
    const auto folder = m_prompts.folderName(folderDialog(text::ChooseLibraryFolder));
    if (!folder)
        return;
    m_catalogue->addFolder(QDir(*folder).absolutePath().toStdString());
    watchFolders();
    rescan();
}

void LibraryPanel::fillRemoveMenu()
{
    QMenu *menu = m_remove->menu();
    menu->clear();
    if (!m_catalogue)
        return;
    for (const std::string &folder : m_catalogue->folders()) {
        const QString name = QString::fromStdString(folder);
        connect(menu->addAction(name), &QAction::triggered, this, [this, folder] {
            // A scan running over the folder would put its entries back.
            m_scanner->cancel();
            m_scanner->wait();
            m_catalogue->removeFolder(folder);
            reload();
            watchFolders();
        });
    }
}

void LibraryPanel::watchFolders()
{
    if (!m_catalogue || !isVisible())
        return;
    // The folders and every folder that holds a survey.
    std::set<QString> folders;
    for (const std::string &folder : m_catalogue->folders())
        folders.insert(QString::fromStdString(folder));
    for (const CatalogueEntry &e : m_model->entries())
        folders.insert(QFileInfo(QString::fromStdString(e.path)).absolutePath());
    QStringList wanted;
    for (const QString &folder : folders)
        if (wanted.size() < MaxWatchedFolders && QFileInfo(folder).isDir())
            wanted << folder;
    const QStringList watched = m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
    if (!wanted.isEmpty())
        m_watcher->addPaths(wanted);
}

void LibraryPanel::reportSelected()
{
    QStringList surveys;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        surveys << QString::fromStdString(m_model->entry(m_filter->sourceRow(index.row())).path);
    if (surveys.isEmpty() || m_batch->isRunning())
        return;
    const auto folder = m_prompts.folderName(folderDialog(text::ChooseReportFolder));
    if (!folder)
        return;
    if (!m_batch->start(surveys, *folder, GradingTableChoice::chosenFile(),
                        ReportCellSettings::company())) {
        m_prompts.showMessage(text::BatchToolMissing);
        return;
    }
    m_status->setToolTip(*folder);
    showWork(text::WritingReports, true);
}

void LibraryPanel::batchFinished()
{
    showWork(0, false);
    if (m_batch->wasCancelled()) {
        m_status->setText(uiText(text::BatchReportCancelled));
        return;
    }
    m_status->setText(
        uiText(text::BatchReportDone).arg(m_batch->written()).arg(m_batch->failures().size()));
    if (!m_batch->failures().isEmpty())
        m_prompts.showMessage(text::BatchReportFailures,
                              m_batch->failures().join('\n').toStdString());
}

void LibraryPanel::rowActivated(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    emit openRequested(
        QString::fromStdString(m_model->entry(m_filter->sourceRow(index.row())).path));
}

void LibraryPanel::showWork(int textId, bool busy)
{
    m_progress->setVisible(busy);
    m_cancel->setVisible(busy);
    m_progress->setRange(0, 0);
    if (busy)
        m_status->setText(uiText(textId));
    else
        showCount();
}

void LibraryPanel::showCount()
{
    if (m_progress->isVisible())
        return;
    m_status->setText(
        uiText(text::LibraryCount).arg(m_filter->rowCount()).arg(m_model->unreadableCount()));
}

QString LibraryPanel::statusText() const
{
    return m_status->text();
}

} // namespace dorvane
