#include "ui/acquire/FileListPanel.h"

#include "core/app/TextIds.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

namespace {

constexpr int PathRole = Qt::UserRole;

QToolButton *listButton(const char *name, int tipId, ToolIcon icon, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(toolIcon(icon));
    button->setIconSize(QSize(24, 24));
    // These tips always come from the built-in table.
    button->setToolTip(builtinUiText(tipId));
    return button;
}

} // namespace

FileListPanel::FileListPanel(QWidget *parent)
    : QWidget(parent), m_list(new QListWidget(this)),
      m_up(listButton("moveUpButton", text::MoveFileForwards, ToolIcon::MoveUp, this)),
      m_down(listButton("moveDownButton", text::MoveFileBackwards, ToolIcon::MoveDown, this)),
      m_remove(listButton("removeFileButton", text::RemoveFromList, ToolIcon::Delete, this))
{
    setObjectName("fileListPanel");
    m_list->setObjectName("fileList");
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_up, &QToolButton::clicked, this, &FileListPanel::moveUp);
    connect(m_down, &QToolButton::clicked, this, &FileListPanel::moveDown);
    connect(m_remove, &QToolButton::clicked, this, &FileListPanel::remove);
    connect(m_list, &QListWidget::currentRowChanged, this, &FileListPanel::selectionChanged);
}

void FileListPanel::addFiles(const QStringList &paths)
{
    const QSignalBlocker block(m_list);
    for (const QString &path : paths) {
        auto *item = new QListWidgetItem(QFileInfo(path).fileName());
        item->setData(PathRole, path);
        m_list->addItem(item);
    }
}

void FileListPanel::select(int row)
{
    m_list->setCurrentRow(row);
}

int FileListPanel::selectedRow() const
{
    return m_list->currentRow();
}

QString FileListPanel::selectedPath() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return item ? item->data(PathRole).toString() : QString();
}

QStringList FileListPanel::paths() const
{
    QStringList all;
    for (int i = 0; i < m_list->count(); ++i)
        all << m_list->item(i)->data(PathRole).toString();
    return all;
}

int FileListPanel::count() const
{
    return m_list->count();
}

void FileListPanel::moveUp()
{
    move(-1);
}

void FileListPanel::moveDown()
{
    move(1);
}

void FileListPanel::move(int by)
{
    const int row = m_list->currentRow();
    const int target = row + by;
    if (row < 0 || target < 0 || target >= m_list->count())
        return;
    {
        // Taking the item out makes its neighbour current for a moment: only
        // the moved item is announced.
        const QSignalBlocker block(m_list);
        QListWidgetItem *item = m_list->takeItem(row);
        m_list->insertItem(target, item);
        m_list->setCurrentRow(target);
    }
    emit selectionChanged();
}

void FileListPanel::remove()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    {
        // One announcement for the removal, not one per step of it.
        const QSignalBlocker block(m_list);
        delete m_list->takeItem(row);
        if (m_list->count() > 0)
            m_list->setCurrentRow(std::min(row, m_list->count() - 1));
        else
            m_list->setCurrentRow(-1);
    }
    emit selectionChanged();
}

} // namespace dorvane
