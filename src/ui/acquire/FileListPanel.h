#pragma once

#include <QStringList>
#include <QWidget>

class QListWidget;
class QToolButton;

namespace dorvane {

// An ordered list of IMG files: the order of the list is the order of the
// frames of the survey made from them. Items show the file name and keep the
// full path; move up, move down and remove act on the selected item.
class FileListPanel : public QWidget
{
    Q_OBJECT

public:
    explicit FileListPanel(QWidget *parent = nullptr);

    // Appends files (items already listed stay) without selecting any.
    void addFiles(const QStringList &paths);
    void select(int row);
    int selectedRow() const;
    QString selectedPath() const;
    QStringList paths() const;
    int count() const;

    void moveUp();
    void moveDown();
    void remove();

    QListWidget &list() { return *m_list; }

signals:
    // The selection changed, or the list became empty by a removal.
    void selectionChanged();

private:
    void move(int by);

    QListWidget *m_list;
    QToolButton *m_up;
    QToolButton *m_down;
    QToolButton *m_remove;
};

} // namespace dorvane
