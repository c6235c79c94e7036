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
    // The version the package is built with.
    auto *version = new QLabel(uiText(text::ProgramVersion).arg(TESSIQ_VERSION), this);
    version->setObjectName("programVersion");
    layout->addWidget(version);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace dorvane
