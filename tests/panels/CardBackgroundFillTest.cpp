// Pixels of the card background: the card shapes, every fill kind, opacity, and the
// partial repaint that must paint exactly what a full one paints.

#include "panels/CardBackgroundPainter.h"

#include "support/TestHelpers.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <functional>
#include <thread>

#include <gtest/gtest.h>

namespace {

const QColor Desk(128, 128, 128);
const QRectF Card(20, 20, 160, 100);

QImage render(const Card_Property &record, int shape = 0, const QString &resources = {}, const QRectF &dirty = {})
{
    QImage image(200, 140, QImage::Format_ARGB32);
    image.fill(Desk);
    QPainter painter(&image);
    CardBackgroundPainter::Card_Base_Drawing(painter, record, shape, Card, dirty, resources);
    return image;
}

QColor at(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Channels within a small tolerance (antialiasing, gradient rounding).
::testing::AssertionResult near(const QColor &actual, const QColor &expected, int tolerance = 3)
{
    if (TestHelpers::near(actual.rgba(), expected, tolerance))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.name(QColor::HexArgb).toStdString() << ", expected "
                                         << expected.name(QColor::HexArgb).toStdString();
}

Card_Property filled(const QString &style)
{
    Card_Property record;
    record.Card_fill_chk = true;
    record.Card_fill_style = style;
    return record;
}

QImage stripes(int period, const QColor &ink)
{
    // Left half of each period is ink, right half transparent.
    QImage pattern(period, period, QImage::Format_ARGB32);
    pattern.fill(Qt::transparent);
    for (int y = 0; y < period; ++y)
        for (int x = 0; x < period / 2; ++x)
            pattern.setPixelColor(x, y, ink);
    return pattern;
}

class ResourceFolder
{
public:
    ResourceFolder() { QDir(m_dir.path()).mkpath(QStringLiteral("Fill_Style_Image")); }
    QString path() const { return m_dir.path(); }
    void addPattern(const QString &fileName, const QImage &image) const
    {
        ASSERT_TRUE(image.save(QDir(m_dir.path()).filePath(QStringLiteral("Fill_Style_Image/") + fileName)));
    }

private:
    QTemporaryDir m_dir;
};

} // namespace

TEST(CardBackgroundShapes, FreshRecordPaintsOnlyAWhiteCardInEachShape)
{
    const Card_Property fresh;
    const QRect inside = Card.toRect();

    const QImage rect = render(fresh, 0);
    EXPECT_TRUE(TestHelpers::onlyInside(rect, Desk, inside));
    EXPECT_EQ(TestHelpers::countPixelsDifferent(rect, Qt::white, inside), 0);

    const QImage rounded = render(fresh, 1);
    EXPECT_TRUE(near(at(rounded, 20, 20), Desk)) << "corner outside the radius stays desk";
    EXPECT_TRUE(near(at(rounded, 21, 21), Desk));
    EXPECT_TRUE(near(at(rounded, 24, 24), Qt::white));
    EXPECT_TRUE(near(at(rounded, 100, 20), Qt::white)) << "straight edge reaches the rectangle";
    EXPECT_TRUE(near(at(rounded, 179, 119), Desk));
    EXPECT_TRUE(TestHelpers::onlyInside(rounded, Desk, inside));

    const QImage ellipse = render(fresh, 2);
    EXPECT_TRUE(near(at(ellipse, 30, 30), Desk));
    EXPECT_TRUE(near(at(ellipse, 170, 110), Desk));
    EXPECT_TRUE(near(at(ellipse, 100, 21), Qt::white));
    EXPECT_TRUE(near(at(ellipse, 21, 70), Qt::white));
    EXPECT_TRUE(near(at(ellipse, 100, 70), Qt::white));

    // Shape numbers other than 1 and 2 draw the rectangle.
    EXPECT_EQ(render(fresh, 7), rect);
    EXPECT_EQ(render(fresh, -1), rect);

    // The rounded corner's radius stays 10 points on large cards.
    {
    QImage image(600, 400, QImage::Format_ARGB32);
    image.fill(Desk);
    QPainter painter(&image);
    CardBackgroundPainter::Card_Base_Drawing(painter, Card_Property(), 1, QRectF(0, 0, 600, 400), {}, {});
    painter.end();
    EXPECT_TRUE(near(at(image, 1, 1), Desk));
    EXPECT_TRUE(near(at(image, 10, 1), Qt::white)) << "a radius of 10 points ends at x = 10";
    EXPECT_TRUE(near(at(image, 1, 10), Qt::white));
    }
}

TEST(CardBackgroundFills, SolidAndUnknownCodesPaintTheFillColourOverWhite)
{
    Card_Property record = filled(QStringLiteral("S"));
    record.Card_fill_clr = QColor(200, 30, 40);
    EXPECT_TRUE(near(at(render(record), 100, 70), QColor(200, 30, 40)));

    // A damaged file's unknown code draws as solid.
    record.Card_fill_style = QStringLiteral("Q");
    EXPECT_TRUE(near(at(render(record), 100, 70), QColor(200, 30, 40)));

    // Half-transparent red over the white underlay, never over the desk.
    record.Card_fill_clr = QColor(255, 0, 0, 128);
    EXPECT_TRUE(near(at(render(record), 100, 70), QColor(255, 127, 127)));

    // The fill check box off: the style is kept but only white is painted.
    record.Card_fill_chk = false;
    EXPECT_TRUE(near(at(render(record), 100, 70), Qt::white));
}

TEST(CardBackgroundFills, GradientRunsAtItsAngleAcrossTheWholeCard)
{
    Card_Property record = filled(QStringLiteral("G"));
    record.Card_fill_Grd_1_clr = QColor(255, 0, 0);
    record.Card_fill_Grd_2_clr = QColor(0, 0, 255);

    record.Card_grad_Stepper = 0;
    QImage image = render(record);
    EXPECT_TRUE(near(at(image, 20, 70), QColor(255, 0, 0), 6));
    EXPECT_TRUE(near(at(image, 179, 70), QColor(0, 0, 255), 6));
    EXPECT_TRUE(near(at(image, 100, 70), QColor(127, 0, 127), 6));
    EXPECT_EQ(at(image, 60, 21), at(image, 60, 118)) << "a horizontal gradient is constant down a column";

    record.Card_grad_Stepper = 90;
    image = render(record);
    EXPECT_TRUE(near(at(image, 100, 20), QColor(255, 0, 0), 6));
    EXPECT_TRUE(near(at(image, 100, 119), QColor(0, 0, 255), 6));
    EXPECT_EQ(at(image, 21, 50), at(image, 178, 50));

    // Other angles follow the shared gradient rule, tested with the shapes.
}

TEST(CardBackgroundFills, HatchPaintsItsBackgroundThenTheOpaquePatternFromTheOrigin)
{
    ResourceFolder resources;
    resources.addPattern(QStringLiteral("Stripes.png"), stripes(8, Qt::black));

    Card_Property record = filled(QStringLiteral("H"));
    record.Card_hatch_style = QStringLiteral("Stripes");
    record.Card_hatch_bk_clr = QColor(255, 255, 0);
    QImage image = render(record, 0, resources.path());
    // Tiles start at the card's corner (x = 20) on every device: (x - 20) % 8 < 4 is ink.
    EXPECT_TRUE(near(at(image, 40, 50), QColor(255, 255, 0)));
    EXPECT_TRUE(near(at(image, 43, 50), QColor(255, 255, 0)));
    EXPECT_TRUE(near(at(image, 44, 50), Qt::black));
    EXPECT_TRUE(near(at(image, 47, 50), Qt::black));
    EXPECT_TRUE(TestHelpers::onlyInside(image, Desk, Card.toRect())) << "the pattern stays inside the card";

    // Opacity reaches the background colour only: the pattern keeps its ink.
    record.Card_hatch_bk_clr = QColor(255, 255, 0, 0);
    image = render(record, 0, resources.path());
    EXPECT_TRUE(near(at(image, 44, 50), Qt::black));
    EXPECT_TRUE(near(at(image, 40, 50), Qt::white));

    // An unknown pattern leaves just the background colour.
    record.Card_hatch_bk_clr = QColor(255, 255, 0);
    record.Card_hatch_style = QStringLiteral("Missing");
    image = render(record, 0, resources.path());
    EXPECT_EQ(TestHelpers::countPixelsDifferent(image, QColor(255, 255, 0), Card.toRect()), 0);

    // A name is never a way out of the pattern folder.
    record.Card_hatch_style = QStringLiteral("../Fill_Style_Image/Stripes");
    image = render(record, 0, resources.path());
    EXPECT_EQ(TestHelpers::countPixelsDifferent(image, QColor(255, 255, 0), Card.toRect()), 0);

    // A pattern saved as another picture type still draws under its base name.
    QImage ink(8, 8, QImage::Format_RGB32);
    ink.fill(Qt::black);
    resources.addPattern(QStringLiteral("Ink.jpg"), ink);
    record.Card_hatch_style = QStringLiteral("Ink");
    EXPECT_TRUE(near(at(render(record, 0, resources.path()), 100, 70), Qt::black, 12));
}

TEST(CardBackgroundFills, StretchedPictureFillsTheCardShapeOnly)
{
    QImage quadrants(2, 2, QImage::Format_RGB32);
    quadrants.setPixelColor(0, 0, QColor(255, 0, 0));
    quadrants.setPixelColor(1, 0, QColor(0, 255, 0));
    quadrants.setPixelColor(0, 1, QColor(0, 0, 255));
    quadrants.setPixelColor(1, 1, QColor(255, 255, 0));

    Card_Property record = filled(QStringLiteral("I"));
    record.Card_BG_Image = quadrants;
    record.Card_BG_Image_Layout = QStringLiteral("Stretch");
    const QImage image = render(record, 2);
    // Stretched over the card area, cut to the ellipse as a plain fill is.
    EXPECT_TRUE(near(at(image, 60, 45), QColor(255, 0, 0), 8));
    EXPECT_TRUE(near(at(image, 140, 45), QColor(0, 255, 0), 8));
    EXPECT_TRUE(near(at(image, 60, 95), QColor(0, 0, 255), 8));
    EXPECT_TRUE(near(at(image, 140, 95), QColor(255, 255, 0), 8));
    EXPECT_TRUE(near(at(image, 21, 21), Desk)) << "corner outside the ellipse stays desk";
    EXPECT_TRUE(TestHelpers::onlyInside(image, Desk, Card.toRect()));

    // Any layout text other than "Tile" stretches.
    record.Card_BG_Image_Layout = QStringLiteral("Centre");
    EXPECT_EQ(render(record, 2), image);
}

TEST(CardBackgroundFills, TiledPictureFillsOnlyTheCardShapeAndNoPictureNothing)
{
    Card_Property record = filled(QStringLiteral("I"));
    record.Card_BG_Image = stripes(10, QColor(0, 128, 0));
    record.Card_BG_Image_Layout = QStringLiteral("Tile");
    const QImage image = render(record, 2);
    EXPECT_TRUE(near(at(image, 22, 22), Desk)) << "outside the ellipse";
    EXPECT_TRUE(near(at(image, 100, 70), QColor(0, 128, 0)));
    EXPECT_TRUE(near(at(image, 105, 70), Qt::white));

    // A picture fill without a picture leaves the white card.
    record.Card_BG_Image = QImage();
    record.Card_BG_Image_Path = QStringLiteral("/no/such/picture.png");
    EXPECT_EQ(render(record, 0), render(Card_Property()));
}

TEST(CardBackgroundOpacity, PictureTakesTheFractionAndTheInitialHundredIsOpaque)
{
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    Card_Property record = filled(QStringLiteral("I"));
    record.Card_BG_Image = red;

    record.Card_alpha_Stepper = 100.0f;
    EXPECT_TRUE(near(at(render(record), 100, 70), QColor(255, 0, 0)));
    record.Card_alpha_Stepper = 1.0f;
    EXPECT_TRUE(near(at(render(record), 100, 70), QColor(255, 0, 0)));
    record.Card_alpha_Stepper = 0.5f;
    EXPECT_TRUE(near(at(render(record), 100, 70), QColor(255, 127, 127)));
    record.Card_alpha_Stepper = 0.0f;
    EXPECT_TRUE(near(at(render(record), 100, 70), Qt::white)) << "opacity 0 hides the picture";

    record.Card_BG_Image_Layout = QStringLiteral("Tile");
    record.Card_alpha_Stepper = 0.5f;
    EXPECT_TRUE(near(at(render(record), 100, 70), QColor(255, 127, 127)));
}

TEST(CardBackgroundOpacity, TransparentFillColoursShowTheWhiteUnderlay)
{
    for (const QString &style : {QStringLiteral("S"), QStringLiteral("G"), QStringLiteral("H")}) {
        Card_Property record = filled(style);
        record.Card_fill_clr = QColor(0, 0, 0, 0);
        record.Card_fill_Grd_1_clr = QColor(0, 0, 0, 0);
        record.Card_fill_Grd_2_clr = QColor(0, 0, 255, 0);
        record.Card_hatch_bk_clr = QColor(0, 0, 0, 0);
        EXPECT_EQ(TestHelpers::countPixelsDifferent(render(record), Qt::white, Card.toRect()), 0) << style.toStdString();
    }
}

TEST(CardBackgroundRepaint, PartialRepaintPaintsExactlyWhatAFullOnePaintsThere)
{
    Card_Property record = filled(QStringLiteral("G"));
    record.Card_fill_Grd_1_clr = QColor(255, 0, 0);
    record.Card_fill_Grd_2_clr = QColor(0, 0, 255);
    record.Card_grad_Stepper = 30;
    record.Card_border_chk = true;
    record.Card_bor_Stepper = 3;
    record.Card_border_style = QStringLiteral("DD");

    for (int shape : {0, 1, 2}) {
        const QImage full = render(record, shape);
        for (const QRect dirty : {QRect(50, 30, 40, 40), QRect(10, 10, 30, 30), QRect(150, 90, 50, 50)}) {
            const QImage partial = render(record, shape, {}, dirty);
            for (int y = 0; y < full.height(); ++y)
                for (int x = 0; x < full.width(); ++x) {
                    // Gradient spans may round a channel differently when clipped.
                    const QColor expected = dirty.contains(x, y) ? at(full, x, y) : Desk;
                    ASSERT_TRUE(near(at(partial, x, y), expected, 2)) << "shape " << shape << " at " << x << "," << y;
                }
        }
    }
}

TEST(CardBackgroundRepaint, BoundPainterFitsTheCanvasCallbackAndRendersOnWorkers)
{
    Card_Property record = filled(QStringLiteral("G"));
    record.Card_fill_Grd_1_clr = QColor(10, 200, 30);
    record.Card_fill_Grd_2_clr = QColor(250, 20, 90);
    record.Card_border_chk = true;
    const std::function<void(QPainter &, const QRectF &, const QRectF &)> paint = CardBackgroundPainter(record, 1, {});

    auto draw = [&paint] {
        QImage image(200, 140, QImage::Format_ARGB32);
        image.fill(Desk);
        QPainter painter(&image);
        paint(painter, Card, QRectF());
        return image;
    };
    const QImage expected = draw();
    EXPECT_EQ(expected, render(record, 1));

    QImage results[4];
    std::thread workers[4];
    for (int i = 0; i < 4; ++i)
        workers[i] = std::thread([&, i] { results[i] = draw(); });
    for (auto &worker : workers)
        worker.join();
    for (const QImage &result : results)
        EXPECT_EQ(result, expected);
}

TEST(CardBackgroundRepaint, LeavesThePainterStateAsItWas)
{
    QImage image(200, 140, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setPen(QColor(1, 2, 3));
    painter.setOpacity(0.75);
    Card_Property record = filled(QStringLiteral("I"));
    record.Card_BG_Image = stripes(4, Qt::red);
    record.Card_alpha_Stepper = 0.3f;
    record.Card_border_chk = true;
    CardBackgroundPainter::Card_Base_Drawing(painter, record, 2, Card, QRectF(0, 0, 50, 50), {});
    EXPECT_EQ(painter.pen().color(), QColor(1, 2, 3));
    EXPECT_DOUBLE_EQ(painter.opacity(), 0.75);
    EXPECT_FALSE(painter.hasClipping());
}
