#pragma once

#include <QWidget>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace dorvane {

class UserPrompts;

// The settings page: language, playback rate, title and notes on the
// overlay, tilt alarm. Changes take effect at once and are written to
// "config.dat" by the save button, which shows only after a change. The
// grading table of the assessment is chosen here too; it is remembered at
// once in the program's settings, not in "config.dat".
class SettingsPanel : public QWidget
{
    Q_OBJECT

public:
    SettingsPanel(UserPrompts &prompts, QWidget *parent = nullptr);

    // Fills the controls from the settings and hides the save button.
    void load();
    // Where the save button writes; "config.dat" in the program folder.
    void setConfigPath(const std::string &path) { m_configPath = path; }

signals:
    // A setting that the shown frame or the playback depends on changed.
    void settingsChanged();
    // Another grading table was chosen.
    void gradingTableChanged();

private:
    void rateChosen(int index);
    void languageChosen(int index);
    void boxToggled();
    void save();
    void changed();
    void chooseGradingTable();
    void useShippedGradingTable();
    void showGradingTable();

    UserPrompts &m_prompts;
    QComboBox *m_language;
    QComboBox *m_rate;
    QCheckBox *m_title;
    QCheckBox *m_notes;
    QCheckBox *m_alarm;
    QToolButton *m_save;
    QLabel *m_gradingTable;
    QPushButton *m_chooseTable;
    QPushButton *m_shippedTable;
    bool m_languageChanged = false;
    std::string m_configPath;
};

} // namespace dorvane
