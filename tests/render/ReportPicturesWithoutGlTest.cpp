#include "core/app/TextIds.h"
#include "core/document/AnimationDocument.h"
#include "core/export/ReportContent.h"
#include "render/ReportPictures.h"
#include "support/TestSupport.h"
#include "support/WithoutOpenGl.h"

#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

TEST(ReportPicturesWithoutOpenGl, TheChartIsDrawnThenThe3dPartFails)
{
    if (!takeOpenGlAway())
        GTEST_SKIP() << "OpenGL was set up by an earlier test of this process";
    TempDir dir;
    writeSurvey(dir.file("s.Imv"), 3);
    RecordingMessageSink messages;
    RecordingProgressSink progress;
    AnimationDocument document(messages);
    ASSERT_TRUE(document.open(dir.file("s.Imv"), nullptr));
    ReportContent content;
    EXPECT_FALSE(buildReportPictures(document, content, &progress, messages));
    EXPECT_EQ(messages.messages, std::vector<int>{text::View3dInitFailed});
    EXPECT_EQ(content.chart.width, 450);
    EXPECT_EQ(content.chart.height, 300);
    EXPECT_EQ(content.pipeViews.centre.width, 0);
    EXPECT_TRUE(progress.posts.empty());
}
