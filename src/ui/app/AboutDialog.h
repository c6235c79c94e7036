#pragma once

#include <QDialog>

namespace dorvane {

// The About box: the program's name and version.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
};

} // namespace dorvane
