#pragma once

#include "ui/widgets/UserPrompts.h"

#include <QString>
#include <functional>
#include <optional>

namespace dorvane {

class MainWindow;
class SurveySession;

// The toolbar's exports of the open survey: a picture of the visible view,
// the survey as a video, the report. Each stops playback and asks to save
// pending edits first, and leaves the frame shown before on screen.
class ExportCommands
{
public:
    ExportCommands(MainWindow &window, SurveySession &session)
        : m_window(window), m_session(session)
    {}

    // "View screenshot": the visible view as a 24-bit BMP file.
    void exportImage();
    // The visible view (frame, stroke or 3D, with its texts) saved at path.
    // False when nothing is open or shown, or the file could not be
    // written; no file is left then.
    bool saveViewImage(const QString &path);
    // "Export video": every frame as the frame view draws it, with or
    // without the overlay texts, into an AVI movie at 4 frames a second.
    void exportVideo();
    // "Generate report": the survey's figures, sediment chart, 3D views and
    // the frames marked for the report in a Word document (.docx written
    // here; .doc and .pdf converted by LibreOffice), opened once written.
    void exportReport();

    // How a finished report is opened (the desktop's default program);
    // false when no program could be started.
    void setFileOpener(std::function<bool(const QString &path)> opener)
    {
        m_openFile = std::move(opener);
    }

private:
    bool readyToExport();
    // The file an export writes, from the save dialog; nothing when the
    // dialog is cancelled or the name reaches the open survey (told).
    std::optional<QString> chooseOutput(const UserPrompts::FileDialog &dialog);

    MainWindow &m_window;
    SurveySession &m_session;
    // Tells in the window's status line where an export went.
    void tellSaved(const QString &path);

    std::function<bool(const QString &path)> m_openFile;
};

} // namespace dorvane
