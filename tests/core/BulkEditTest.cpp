#include "core/document/BulkEdit.h"

#include <gtest/gtest.h>

using namespace dorvane;

namespace {
// A header with values no edit sets, so that a change shows.
FrameHeader startingHeader()
{
    FrameHeader h;
    h.pipeRadius = 600;
    h.errorRate = 10;
    h.circleX = 250;
    h.circleY = 250;
    return h;
}

BulkEdit edit(BulkEditKind kind, int value)
{
    BulkEdit e;
    e.kind = kind;
    e.value = value;
    e.circle = {260, 240};
    e.currentPipeRadius = 420;
    return e;
}
} // namespace

TEST(BulkEdit, SetsTheAttributeOfItsKind)
{
    FrameHeader h = startingHeader();
    applyBulkEdit(edit(BulkEditKind::ReportShot, 7), 3, 10, h);
    EXPECT_EQ(h.reportShot, 1);
    applyBulkEdit(edit(BulkEditKind::ReportShot, 0), 3, 10, h);
    EXPECT_EQ(h.reportShot, 0);
    applyBulkEdit(edit(BulkEditKind::PipeRadius, 450), 3, 10, h);
    EXPECT_EQ(h.pipeRadius, 450);
    applyBulkEdit(edit(BulkEditKind::ErrorRate, 33), 3, 10, h);
    EXPECT_EQ(h.errorRate, 33);
    EXPECT_EQ(h.circleOn, 0);
    EXPECT_EQ(h.circleX, 250);
}

TEST(BulkEdit, CircleKindsCoverTheirFrames)
{
    // Up to frame 5: frames 0..5 get the circle and the current pipe radius.
    for (const auto &[index, expected] : {std::pair{5, true}, {6, false}, {0, true}}) {
        FrameHeader h = startingHeader();
        applyBulkEdit(edit(BulkEditKind::CircleUpTo, 5), index, 10, h);
        EXPECT_EQ(h.circleOn, expected ? 1 : 0) << index;
        EXPECT_EQ(h.circleX, expected ? 260 : 250) << index;
        EXPECT_EQ(h.circleY, expected ? 240 : 250) << index;
        EXPECT_EQ(h.pipeRadius, expected ? 420 : 600) << index;
    }
    // From frame 5: frames 5..9 of 10.
    for (const auto &[index, expected] : {std::pair{4, false}, {5, true}, {9, true}, {10, false}}) {
        FrameHeader h = startingHeader();
        applyBulkEdit(edit(BulkEditKind::CircleFrom, 5), index, 10, h);
        EXPECT_EQ(h.circleOn, expected ? 1 : 0) << index;
        EXPECT_EQ(h.pipeRadius, expected ? 420 : 600) << index;
    }
}

TEST(BulkEdit, AnUnnamedKindChangesNothing)
{
    for (const int number : {3, 77, 300, 303}) {
        FrameHeader h = startingHeader();
        const auto before = h.encoded();
        applyBulkEdit(edit(static_cast<BulkEditKind>(number), 1), 2, 10, h);
        EXPECT_EQ(h.encoded(), before) << number;
    }
}
