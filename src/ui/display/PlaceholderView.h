#pragma once

#include <QWidget>

namespace dorvane {

// A view area whose picture is drawn by a later part of the program: it keeps
// the page layout and switching working and paints black until then.
class PlaceholderView : public QWidget
{
    Q_OBJECT

public:
    explicit PlaceholderView(const QString &name, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace dorvane
