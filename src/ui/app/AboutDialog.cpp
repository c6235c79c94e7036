#include "ui/app/AboutDialog.h"

#include "ui/widgets/UiText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace dorvane {

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName("aboutDialog");
    setWindowTitle(uiText(166));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(uiText(167), this));
    layout->addWidget(new QLabel(QString::fromUtf8("Dorvane 2.0 版"), this));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace dorvane
