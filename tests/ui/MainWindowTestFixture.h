#pragma once

#include "UiTestSupport.h"
#include "core/app/Settings.h"
#include "core/document/AnimationDocument.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SurveySession.h"
#include "ui/app/ToolPanel.h"

#include <QSlider>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace dorvane::test {

// A real main window, shown off screen, with scripted prompts.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings() = Settings{};
        settings().playRate = 16;
        window = std::make_unique<MainWindow>(&prompts);
        window->show();
        ASSERT_TRUE(waitUntil([&] { return window->visibleView() == MainWindow::View::Frame; }));
    }

    void TearDown() override
    {
        window.reset();
        settings() = Settings{};
    }

    std::string survey(int frames, uint64_t seed = 1)
    {
        const std::string path = dir.file("survey" + std::to_string(frames) + ".Imv");
        writeSurvey(path, frames, seed);
        return path;
    }

    void open(const std::string &path)
    {
        ASSERT_TRUE(session().openFile(QString::fromStdString(path)));
    }

    SurveySession &session() { return window->session(); }
    const AnimationDocument &doc() { return session().document(); }
    // A pending edit of the shown frame, as typing would make it.
    void editTitle(const std::string &title)
    {
        session().editFrame([title](FrameHeader &h) { h.setTitle(title); });
    }
    void goTo(int index) { session().goToFrame(index); }
    void dropFile(const std::string &path);
    template<typename T = QWidget>
    T *child(const char *name)
    {
        T *found = window->findChild<T *>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TempDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> window;
};

} // namespace dorvane::test
