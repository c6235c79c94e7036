#pragma once

#include "ui/acquire/FrameViewDialog.h"

#include <memory>

namespace dorvane {

class AnimationDocument;
class FileListPanel;
class ProgressWindow;

// The import window: a list of IMG files, each previewed with its header,
// saved in list order as a new survey.
class ImportWindow : public FrameViewDialog
{
    Q_OBJECT

public:
    // openSurvey: the survey the main window has open; saving onto it is
    // refused, and so is saving onto a file of the list.
    ImportWindow(UserPrompts &prompts, const QString &openSurvey, QWidget *parent = nullptr);
    ~ImportWindow() override;

    void addFiles();
    void showSelection();
    bool saveAnimation();

    // Closes as the acquire window does.
    void reject() override;

    FileListPanel &fileList() { return *m_fileList; }
    ProgressWindow &progressWindow() { return *m_progress; }

private:
    void setPanelsEnabled(bool enabled);

    std::unique_ptr<AnimationDocument> m_document;
    FileListPanel *m_fileList;
    ProgressWindow *m_progress;
    int m_filesPage;
};

} // namespace dorvane
