#include "ui/app/SettingsPanel.h"

#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/GradingTableChoice.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"
#include "ui/widgets/UserPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

namespace {
const int Rates[] = {1, 2, 4, 6, 8, 16};

QCheckBox *checkBox(int textId, const char *name, QWidget *parent)
{
    auto *box = new QCheckBox(uiText(textId), parent);
    box->setObjectName(name);
    return box;
}
} // namespace

SettingsPanel::SettingsPanel(UserPrompts &prompts, QWidget *parent)
    : QWidget(parent), m_prompts(prompts), m_language(new QComboBox(this)),
      m_rate(new QComboBox(this)), m_title(checkBox(text::ShowTitle, "showTitleBox", this)),
      m_notes(checkBox(text::ShowNotes, "showNotesBox", this)),
      m_alarm(checkBox(text::TiltAlarm, "tiltAlarmBox", this)), m_save(new QToolButton(this)),
      m_gradingTable(new QLabel(this)),
      m_chooseTable(new QPushButton(uiText(text::ChooseGradingTable), this)),
      m_shippedTable(new QPushButton(uiText(text::DefaultGradingTable), this))
{
    setObjectName("settingsPanel");
    m_configPath = configPath();
    m_language->setObjectName("languageList");
    m_language->addItems({QString::fromUtf8("中文"), "English"});
    m_rate->setObjectName("rateList");
    for (int rate : Rates)
        m_rate->addItem(QString::number(rate) + "x");
    m_save->setObjectName("saveSettingsButton");
    m_save->setIcon(toolIcon(ToolIcon::Save));
    m_save->setIconSize(QSize(24, 24));
    m_save->setText(uiText(text::SaveSettings));
    m_save->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_save->setToolTip(uiText(text::SaveSettings));

    auto *form = new QFormLayout;
    form->addRow(new QLabel(uiText(text::LanguageLabel), this), m_language);
    form->addRow(new QLabel(uiText(text::PlayRateLabel), this), m_rate);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_title);
    layout->addWidget(m_notes);
    layout->addWidget(m_alarm);
    layout->addWidget(m_save, 0, Qt::AlignLeft);
    layout->addSpacing(12);
    layout->addWidget(new QLabel(uiText(text::GradingTableLabel), this));
    m_gradingTable->setObjectName("gradingTableName");
    m_gradingTable->setWordWrap(true);
    layout->addWidget(m_gradingTable);
    m_chooseTable->setObjectName("chooseGradingTableButton");
    m_shippedTable->setObjectName("shippedGradingTableButton");
    auto *tableButtons = new QHBoxLayout;
    tableButtons->addWidget(m_chooseTable);
    tableButtons->addWidget(m_shippedTable);
    tableButtons->addStretch();
    layout->addLayout(tableButtons);
    layout->addStretch();
    connect(m_chooseTable, &QPushButton::clicked, this, &SettingsPanel::chooseGradingTable);
    connect(m_shippedTable, &QPushButton::clicked, this, &SettingsPanel::useShippedGradingTable);

    connect(m_rate, &QComboBox::activated, this, &SettingsPanel::rateChosen);
    connect(m_language, &QComboBox::activated, this, &SettingsPanel::languageChosen);
    for (QCheckBox *box : {m_title, m_notes, m_alarm})
        connect(box, &QCheckBox::clicked, this, &SettingsPanel::boxToggled);
    connect(m_save, &QToolButton::clicked, this, &SettingsPanel::save);
    load();
}

void SettingsPanel::load()
{
    const Settings &s = settings();
    m_title->setChecked(s.showTitle != 0);
    m_notes->setChecked(s.showNotes != 0);
    m_alarm->setChecked(s.tiltAlarm != 0);
    m_rate->setCurrentIndex(-1);
    for (int i = 0; i < m_rate->count(); ++i)
        if (Rates[i] == s.playRate)
            m_rate->setCurrentIndex(i);
    m_language->setCurrentIndex(s.language >= 0 && s.language < m_language->count() ? s.language
                                                                                    : -1);
    m_save->hide();
    showGradingTable();
}

void SettingsPanel::showGradingTable()
{
    const QString file = GradingTableChoice::chosenFile();
    m_gradingTable->setText(file.isEmpty() ? uiText(text::ShippedGradingTable)
                                           : QFileInfo(file).fileName());
    m_gradingTable->setToolTip(file);
    m_shippedTable->setEnabled(!file.isEmpty());
}

void SettingsPanel::chooseGradingTable()
{
    const auto path = m_prompts.openFileName(gradingTableDialog());
    if (!path || !GradingTableChoice::choose(*path, m_prompts))
        return;
    showGradingTable();
    emit gradingTableChanged();
}

void SettingsPanel::useShippedGradingTable()
{
    GradingTableChoice::chooseShipped();
    showGradingTable();
    emit gradingTableChanged();
}

void SettingsPanel::rateChosen(int index)
{
    if (index < 0 || index >= m_rate->count())
        return;
    // The rate is the number the item starts with.
    settings().playRate = Rates[index];
    emit settingsChanged();
    changed();
}

void SettingsPanel::languageChosen(int index)
{
    settings().language = index;
    m_languageChanged = true;
    changed();
}

void SettingsPanel::boxToggled()
{
    settings().showTitle = m_title->isChecked() ? 1 : 0;
    settings().showNotes = m_notes->isChecked() ? 1 : 0;
    settings().tiltAlarm = m_alarm->isChecked() ? 1 : 0;
    emit settingsChanged();
    changed();
}

void SettingsPanel::changed()
{
    m_save->show();
}

void SettingsPanel::save()
{
    // Settings that did not reach the disk stay to be saved again.
    if (!saveSettingsTo(m_configPath)) {
        m_prompts.showMessage(text::SaveFileFailed);
        return;
    }
    m_save->hide();
    if (m_languageChanged) {
        m_languageChanged = false;
        m_prompts.showMessage(text::RestartForLanguage);
    }
}

} // namespace dorvane
