#include "ui/app/AboutDialog.h"

#include "core/app/TextIds.h"
#include "ui/widgets/UiText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace dorvane {

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName("aboutDialog");
    setWindowTitle(uiText(text::AboutTitle));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(uiText(text::ProgramTitle), this));
    layout->addWidget(new QLabel(uiText(text::ProgramVersion), this));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace dorvane
