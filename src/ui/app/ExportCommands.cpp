#include "ui/app/ExportCommands.h"

#include "core/app/TextIds.h"
#include "render/ViewCapture.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SurveySession.h"
#include "ui/display/FrameView.h"
#include "ui/display/StrokeView.h"
#include "ui/view3d/PipeView.h"
#include "ui/widgets/UserPrompts.h"

#include <QImage>
#include <QPainter>
#include <unistd.h>

namespace dorvane {

bool ExportCommands::readyToExport()
{
    m_session.pause();
    return m_session.isOpen() && m_session.savePrompt();
}

void ExportCommands::exportImage()
{
    if (!readyToExport())
        return;
    UserPrompts &prompts = m_session.prompts();
    const std::optional<QString> path =
        prompts.saveFileName({"Export image", "BMP File (*.bmp)", "bmp"});
    if (!path)
        return;
    if (!saveViewImage(*path))
        prompts.showMessage(text::SaveBmpFailed);
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
