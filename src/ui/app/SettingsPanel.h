#pragma once

#include <QWidget>
#include <string>

class QCheckBox;
class QComboBox;
class QToolButton;

namespace dorvane {

class MessageSink;

// The settings page: language, playback rate, title and notes on the
// overlay, tilt alarm. Changes take effect at once and are written to
// "config.dat" by the save button, which shows only after a change.
class SettingsPanel : public QWidget
{
    Q_OBJECT

public:
    SettingsPanel(MessageSink &messages, QWidget *parent = nullptr);

    // Fills the controls from the settings and hides the save button.
    void load();
    // Where the save button writes; "config.dat" in the program folder.
    void setConfigPath(const std::string &path) { m_configPath = path; }

signals:
    // A setting that the shown frame or the playback depends on changed.
    void settingsChanged();

private:
    void rateChosen(int index);
    void languageChosen(int index);
    void boxToggled();
    void save();
    void changed();

    MessageSink &m_messages;
    QComboBox *m_language;
    QComboBox *m_rate;
    QCheckBox *m_title;
    QCheckBox *m_notes;
    QCheckBox *m_alarm;
    QToolButton *m_save;
    bool m_languageChanged = false;
    std::string m_configPath;
};

} // namespace dorvane
