#include "ui/app/ExportCommands.h"

#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/export/AviMovieWriter.h"
#include "core/export/OfficeConverter.h"
#include "core/export/ReportTexts.h"
#include "render/MovieFrame.h"
#include "render/ReportExport.h"
#include "render/ViewCapture.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SurveySession.h"
#include "ui/app/ToolPanel.h"
#include "ui/display/AssessmentView.h"
#include "ui/display/FrameView.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/display/StrokeView.h"
#include "ui/view3d/PipeView.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/GradingTableChoice.h"
#include "ui/widgets/ProgressWindow.h"
#include "ui/widgets/ReportCellSettings.h"
#include "ui/widgets/UiText.h"
#include "ui/widgets/UserPrompts.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QUrl>
#include <unistd.h>

namespace dorvane {

namespace {

constexpr int VideoFramesPerSecond = 4;

} // namespace

bool ExportCommands::readyToExport()
{
    m_session.pause();
    return m_session.isOpen() && m_session.savePrompt();
}

std::optional<QString> ExportCommands::chooseOutput(const UserPrompts::FileDialog &dialog)
{
    UserPrompts &prompts = m_session.prompts();
    std::optional<QString> path = prompts.saveFileName(dialog);
    if (path && m_session.isOpenedFile(*path)) {
        prompts.showMessage(text::CannotSaveOverOpenFile);
        return std::nullopt;
    }
    return path;
}

void ExportCommands::exportImage()
{
    if (!readyToExport())
        return;
    const std::optional<QString> path = chooseOutput(exportImageDialog());
    if (!path)
        return;
    if (!saveViewImage(*path)) {
        m_session.prompts().showMessage(text::SaveBmpFailed);
        return;
    }
    tellSaved(*path);
}

void ExportCommands::tellSaved(const QString &path)
{
    m_window.showStatus(uiText(text::SavedTo).arg(QDir::toNativeSeparators(path)));
}

void ExportCommands::exportVideo()
{
    if (!readyToExport())
        return;
    UserPrompts &prompts = m_session.prompts();
    const std::optional<QString> path = chooseOutput(exportVideoDialog());
    if (!path)
        return;
    const bool showTexts =
        prompts.ask(text::AskVideoTexts, MessageSink::Buttons::YesNo) == MessageSink::Answer::Yes;
    // The movie shows the frames as the frame view draws them.
    m_window.toolPanel().switchPage(ToolPanel::Page::Animation);
    if (m_window.visibleView() != MainWindow::View::Frame)
        return;
    FrameView &view = m_window.frameView();
    QImage surface(view.size(), QImage::Format_RGB32);
    AviMovieWriter writer(path->toStdString(), fourCharacterCode("Xvid"), VideoFramesPerSecond);
    m_session.walkFrames(text::ExportingVideo, [&](int) {
        surface.fill(Qt::black);
        {
            QPainter painter(&surface);
            view.draw(painter, surface.rect(), showTexts);
        }
        return appendPicture(writer, surface) == AviMovieWriter::Succeeded;
    });
    // The frames written before a failure stay a complete, shorter movie.
    const bool failed = writer.state() == AviMovieWriter::Closed;
    if (!writer.release() || failed) {
        prompts.showMessage(text::AviError, writer.lastError());
        return;
    }
    tellSaved(*path);
}

void ExportCommands::exportReport()
{
    if (!readyToExport())
        return;
    UserPrompts &prompts = m_session.prompts();
    // Without LibreOffice only .docx can be written: offer that name, and
    // its filter first, which is the one the dialog selects.
    const bool converts = OfficeConverter::find().has_value();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    QString name = QString::fromStdString(defaultReportFileName(local));
    if (converts)
        name.chop(1); // ".doc"
    const std::optional<QString> path = chooseOutput(exportReportDialog(converts, name));
    if (!path)
        return;
    // The frames are drawn as the frame view shows them.
    const GraphicsPanel &panel = m_window.toolPanel().graphicsPanel();
    const ReportChoices choices{{panel.minLevel(), panel.maxLevel(), panel.colourCount(),
                                 panel.isGrey(), m_window.frameView().overlay().showGrid},
                                GradingTableChoice::chosenFile().toStdString(),
                                ReportCellSettings::surveyDate().toStdString(),
                                ReportCellSettings::company().toStdString()};
    // Nothing may change the survey while its pictures are made: the
    // window stays disabled throughout.
    bool written = false;
    m_session.runWhileBusy([&] {
        written = writeReport(m_session.document(), path->toStdString(), settings().language != 0,
                              &m_session.progressWindow(), prompts, m_window.currentPipeRenderer(),
                              choices);
    });
    m_window.redrawPipeView();
    // Only a report that was written is opened.
    if (!written)
        return;
    tellSaved(*path);
    const bool opened =
        m_openFile ? m_openFile(*path) : QDesktopServices::openUrl(QUrl::fromLocalFile(*path));
    if (!opened)
        prompts.showMessage(text::NoViewer, path->toStdString());
}

bool ExportCommands::saveViewImage(const QString &path)
{
    if (!m_session.isOpen())
        return false;
    ToolView *view = nullptr;
    switch (m_window.visibleView()) {
    case MainWindow::View::Frame:
        view = &m_window.frameView();
        break;
    case MainWindow::View::Stroke:
        view = &m_window.strokeView();
        break;
    case MainWindow::View::Pipe:
        if (m_window.pipeView().saveBmp(path))
            return true;
        // A view that cannot draw saves nothing, and says so.
        ::unlink(path.toStdString().c_str());
        return false;
    case MainWindow::View::Assessment: {
        const QImage &chart = m_window.assessmentView().picture();
        return !chart.isNull() && saveSurfaceAreaAsBmp(path.toStdString(), chart, chart.rect());
    }
    case MainWindow::View::None:
        return false;
    }
    QImage surface(view->size(), QImage::Format_RGB32);
    surface.fill(Qt::black);
    {
        QPainter painter(&surface);
        view->draw(painter, surface.rect(), true);
    }
    return saveSurfaceAreaAsBmp(path.toStdString(), surface, surface.rect());
}

} // namespace dorvane
