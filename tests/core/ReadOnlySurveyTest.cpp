// A survey the process may not write: it opens for reading, and everything
// that would write it is refused with one message.

#include "core/app/TextIds.h"
#include "core/document/AnimationDocument.h"
#include "support/ReadOnlyFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

TEST(ReadOnlySurvey, OpensForReadingAndRefusesEveryWrite)
{
    TempDir dir;
    const std::string path = dir.file("ro.Imv");
    writeSurvey(path, 4, 3);
    const auto before = readFileBytes(path);
    const ReadOnlyFile readOnly(path);
    if (!readOnly.isReadOnly())
        GTEST_SKIP() << "this file system lets the process write any file";

    RecordingMessageSink messages;
    AnimationDocument doc(messages);
    ASSERT_TRUE(doc.open(path, nullptr));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(doc.isReadOnly());
    EXPECT_FALSE(doc.isWritable());
    EXPECT_EQ(doc.frameCount(), 4);
    ASSERT_TRUE(doc.loadFrame(2, false));
    EXPECT_EQ(doc.current().header.signature, FrameHeader::Signature);

    EXPECT_FALSE(doc.editCurrentHeader([](FrameHeader &h) { h.setTitle("no"); }));
    EXPECT_FALSE(doc.editFileHeader([](AnimationFileHeader &h) { h.setPlace("no"); }));
    EXPECT_FALSE(doc.isModified());
    EXPECT_FALSE(doc.saveCurrent());
    EXPECT_FALSE(doc.applyToFrames({BulkEditKind::ErrorRate, 20, {}, 0}, nullptr));
    EXPECT_FALSE(doc.deleteCurrentFrame(nullptr));
    EXPECT_EQ(messages.messages, std::vector<int>(5, text::ReadOnlyFile));
    EXPECT_EQ(readFileBytes(path), before);

    // A copy only reads it, and the copy can be written.
    ASSERT_TRUE(doc.copyAnimation(dir.file("copy.Imv"), nullptr, -1));
    EXPECT_EQ(readFileBytes(dir.file("copy.Imv")), before);
    AnimationDocument copy(messages);
    ASSERT_TRUE(copy.open(dir.file("copy.Imv"), nullptr));
    EXPECT_TRUE(copy.isWritable());
}
