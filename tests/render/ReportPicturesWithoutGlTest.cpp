#include "core/app/TextIds.h"
#include "core/document/AnimationDocument.h"
#include "render/ReportPictures.h"
#include "support/TestSupport.h"

#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

TEST(ReportPicturesWithoutOpenGl, TheChartIsWrittenThenThe3dPartFails)
{
    {
        QOpenGLContext probe;
        QSurfaceFormat format;
        format.setVersion(3, 3);
        format.setProfile(QSurfaceFormat::CoreProfile);
        probe.setFormat(format);
        if (probe.create() && probe.format().version() >= qMakePair(3, 3))
            GTEST_SKIP() << "OpenGL is available here; gl-tests cover the 3D pictures";
    }
    TempDir dir;
    writeSurvey(dir.file("s.Imv"), 3);
    RecordingMessageSink messages;
    RecordingProgressSink progress;
    AnimationDocument document(messages);
    ASSERT_TRUE(document.open(dir.file("s.Imv"), nullptr));
    TempDir pictures;
    EXPECT_EQ(buildReportPictures(document, pictures.path().string(), &progress, messages), -1);
    EXPECT_EQ(messages.messages, std::vector<int>{text::View3dInitFailed});
    EXPECT_EQ(namesIn(pictures.path()), std::vector<std::string>{"0"});
    EXPECT_TRUE(progress.posts.empty());
}
