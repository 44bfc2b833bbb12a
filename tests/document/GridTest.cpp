#include "document/LMNDocument.h"
#include "document/LMNGrid.h"
#include "document/ui/DefaultCanvasHost.h"
#include "document/ui/LMNGraphicView.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTimerEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

TEST(GridAlignedRect, RoundsOriginAndFarCornerSeparately)
{
    LMNGrid grid;
    // Origin 13 -> 9 (13/9 = 1.44), far corner 13 + 10 = 23 -> 27 (23/9 = 2.56): the width
    // grows to 18 although 10 alone would round to 9.
    EXPECT_EQ(grid.alignedRect(QRectF(13, 4, 10, 1)), QRectF(9, 0, 18, 9));
    // Exactly half-way rounds up: 4.5 -> 9, 13.5 -> 18.
    EXPECT_EQ(grid.alignedRect(QRectF(4.5, 13.5, 0, 0)), QRectF(9, 18, 0, 0));
    // Negative coordinates round towards the nearest multiple too (-4.6 -> -9, -4.4 -> 0).
    EXPECT_EQ(grid.alignedRect(QRectF(-4.6, -4.4, 9, 9)), QRectF(-9, 0, 9, 9));
    // A rectangle smaller than half a cell can collapse to nothing.
    EXPECT_EQ(grid.alignedRect(QRectF(1, 1, 2, 2)), QRectF(0, 0, 0, 0));
}

TEST(GridAlignedRect, SpacingNotAboveZeroLeavesTheRectangle)
{
    LMNGrid grid;
    const QRectF rect(3.3, 4.4, 5.5, 6.6);
    for (double spacing : {0.0, -9.0, std::numeric_limits<double>::quiet_NaN()}) {
        grid._spacing = spacing;
        EXPECT_EQ(grid.alignedRect(rect), rect);
        grid.setConstraining(true);
        EXPECT_EQ(grid.constrainedPoint(QPointF(3.3, 4.4)), QPointF(3.3, 4.4));
    }
}

TEST(GridConstraint, SnapsPointsOnlyWhileConstraining)
{
    LMNGrid grid;
    EXPECT_FALSE(grid.isConstraining());
    EXPECT_EQ(grid.constrainedPoint(QPointF(13, 23)), QPointF(13, 23));
    grid.setConstraining(true);
    EXPECT_EQ(grid.constrainedPoint(QPointF(13, 23)), QPointF(9, 27));
    // Alignment rounds whether or not snapping is on.
    grid.setConstraining(false);
    EXPECT_EQ(grid.alignedRect(QRectF(13, 23, 0, 0)), QRectF(9, 27, 0, 0));
}

TEST(GridShowing, AlwaysShownReportsOnlyRealChangesButNotifiesEveryCall)
{
    LMNGrid grid;
    QSignalSpy shownChanges(&grid, &LMNGrid::alwaysShownChanged);
    QSignalSpy changes(&grid, &LMNGrid::changed);

    grid.setAlwaysShown(false); // no change
    EXPECT_TRUE(shownChanges.count() == 0 && changes.count() == 1);
    grid.setAlwaysShown(true);
    grid.setAlwaysShown(true);
    ASSERT_EQ(shownChanges.count(), 1);
    EXPECT_TRUE(shownChanges.at(0).at(0).toBool());
    EXPECT_EQ(changes.count(), 3);
    EXPECT_TRUE(grid.isShown());
}

TEST(GridShowing, SpacingSetterShowsForAMomentAndShowingForGoodStopsIt)
{
    LMNGrid grid;
    grid.setSpacing(18.0);
    EXPECT_TRUE(grid._spacing == 18.0 && grid.isTemporarilyShown() && grid.isShown());

    grid.setAlwaysShown(true);
    EXPECT_FALSE(grid.isTemporarilyShown());
    grid.setAlwaysShown(false);
    EXPECT_FALSE(grid.isShown());

    // Writing the field directly (the spacing slider) shows nothing.
    grid._spacing = 27.0;
    EXPECT_FALSE(grid.isShown());

    // The moment passes: its timer is driven here rather than waited for.
    grid.setColor(Qt::red);
    EXPECT_TRUE(grid.isShown());
    auto *moment = grid.findChild<QTimer *>(QStringLiteral("temporaryShowing"));
    ASSERT_NE(moment, nullptr);
    EXPECT_EQ(moment->interval(), LMNGrid::TemporaryShowingMs);
    QSignalSpy changed(&grid, &LMNGrid::changed);
    QTimerEvent elapsed(moment->timerId());
    QCoreApplication::sendEvent(moment, &elapsed);
    EXPECT_FALSE(grid.isShown());
    EXPECT_EQ(changed.size(), 1);   // the canvases redraw without the grid
}

TEST(GridShowing, TheHostsAlignWithGridButtonFollowsTheGrid)
{
    LMNDocument document;
    LMNGrid grid;
    DefaultCanvasHost host;
    LMNGraphicView canvas(&document, &document.graphics);
    canvas.setHost(&host);
    canvas.setGrid(&grid);

    EXPECT_FALSE(host.alignWithGridEnabled);
    grid.setAlwaysShown(true);
    EXPECT_TRUE(host.alignWithGridEnabled);
    grid.setSpacing(4.0); // a temporary showing does not enable it
    grid.setAlwaysShown(false);
    EXPECT_FALSE(host.alignWithGridEnabled);
}

TEST(GridDrawing, DrawsLinesAtTheSpacingOnlyWhenShown)
{
    LMNGrid grid;
    grid._color = Qt::black;
    auto drawn = [&grid] {   // ink at a line (18, 40), at another (40, 27), between lines (40, 40)
        QImage image(90, 90, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        grid.drawGrid(p, QRectF(0, 0, 90, 90), 1.0);
        return std::vector<bool>{image.pixel(18, 40) == qRgb(0, 0, 0), image.pixel(40, 27) == qRgb(0, 0, 0),
                                 image.pixel(40, 40) == qRgb(0, 0, 0)};
    };
    EXPECT_EQ(drawn(), (std::vector<bool>{false, false, false})) << "hidden grid drew";
    grid.setAlwaysShown(true);
    EXPECT_EQ(drawn(), (std::vector<bool>{true, true, false}));
    // A spacing that would pack lines closer than a few pixels draws nothing (and never hangs).
    grid._spacing = 1e-9;
    EXPECT_EQ(drawn(), (std::vector<bool>{false, false, false}));
}
