// Pixel tests of picture, signature and barcode elements: placement, flips, rotation,
// transparency, effects, reloading, and pictures that are missing or broken.

#include "RenderTestSupport.h"

#include "document/LMNBarcode.h"
#include "document/LMNImage.h"
#include "document/LMNSignature.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace RenderTestSupport;

namespace {

class ElementPictureDraw : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_redBlue = path("redblue.png");
        ASSERT_TRUE(twoColourPicture(QSize(40, 20), Qt::red, Qt::blue).save(m_redBlue));
        m_green = path("green.png");
        QImage green(10, 10, QImage::Format_ARGB32);
        green.fill(Qt::green);
        ASSERT_TRUE(green.save(m_green));
    }

    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    std::shared_ptr<LMNImage> picture(const QRectF &bounds = QRectF(40, 30, 80, 40))
    {
        auto image = std::make_shared<LMNImage>();
        image->setBounds(bounds);
        image->_isDrawingStroke = false;
        image->setFilePath(m_redBlue);
        return image;
    }

    QTemporaryDir m_dir;
    QString m_redBlue;
    QString m_green;
};

bool isRed(QRgb p)
{
    return near(p, Qt::red, 30);
}
bool isBlue(QRgb p)
{
    return near(p, Qt::blue, 30);
}

} // namespace

TEST_F(ElementPictureDraw, PictureFillsItsBounds)
{
    auto image = picture();
    ASSERT_FALSE(image->_image.isNull());
    const QImage out = render(image);
    EXPECT_TRUE(TestHelpers::onlyInside(out, Qt::white, pixelArea(image->drawingBounds())));
    EXPECT_TRUE(isRed(out.pixel(42, 50)));
    EXPECT_TRUE(isBlue(out.pixel(118, 50)));
    EXPECT_TRUE(isRed(out.pixel(78, 31)));
    EXPECT_TRUE(isBlue(out.pixel(82, 68)));

    image->_isDrawingStroke = true;
    image->_strokeColor = Qt::black;
    image->_strokeWidth = 2;
    const QImage framed = render(image);
    EXPECT_TRUE(near(framed.pixel(60, 30), Qt::black, 40));
    EXPECT_TRUE(TestHelpers::onlyInside(framed, Qt::white, pixelArea(image->drawingBounds())));
}

TEST_F(ElementPictureDraw, FlipsAndRotation)
{
    auto image = picture(QRectF(40, 30, 60, 60));
    image->_isFlippedHorizontally = true;
    QImage out = render(image);
    EXPECT_TRUE(isBlue(out.pixel(45, 60)));
    EXPECT_TRUE(isRed(out.pixel(95, 60)));

    image->_isFlippedHorizontally = false;
    image->rotate_image = 90; // clockwise, as every angle on the card: the left half turns to the top
    out = render(image);
    EXPECT_TRUE(isRed(out.pixel(70, 35)));
    EXPECT_TRUE(isBlue(out.pixel(70, 85)));
    EXPECT_TRUE(TestHelpers::onlyInside(out, Qt::white, pixelArea(image->bounds())));

    image->rotate_image = -90;
    out = render(image);
    EXPECT_TRUE(isBlue(out.pixel(70, 35)));

    image->rotate_image = 180; // the same as both flips
    auto flipped = picture(QRectF(40, 30, 60, 60));
    flipped->_isFlippedHorizontally = true;
    flipped->_isFlippedVertically = true;
    EXPECT_EQ(render(image), render(flipped));

    // A turned picture is shrunk so that it stays inside its bounds.
    auto wide = picture(QRectF(40, 30, 120, 60));
    wide->rotate_image = 30;
    const QSizeF fitted = wide->rotatedPictureSize();
    EXPECT_LT(fitted.width(), 120);
    EXPECT_NEAR(fitted.width() / fitted.height(), 2.0, 1e-9);
    EXPECT_TRUE(TestHelpers::onlyInside(render(wide), Qt::white, pixelArea(wide->bounds())));
}

TEST_F(ElementPictureDraw, TransparencyIsAPercentageAndEffectsApplyToThePicture)
{
    auto image = picture();
    image->img_trnsp_val = 50;
    EXPECT_TRUE(near(render(image).pixel(45, 50), QColor(255, 128, 128), 3));
    image->img_trnsp_val = 0;
    EXPECT_TRUE(near(render(image).pixel(45, 50), Qt::white, 0));
    image->img_trnsp_val = 250; // beyond 100 is opaque
    EXPECT_TRUE(isRed(render(image).pixel(45, 50)));

    image->invert_clr = true;
    QImage out = render(image);
    EXPECT_TRUE(near(out.pixel(45, 50), Qt::cyan, 10));
    EXPECT_TRUE(near(out.pixel(115, 50), Qt::yellow, 10));
    image->invert_clr = false;
    image->gray_Scale = true;
    EXPECT_TRUE(near(render(image).pixel(45, 50), QColor(54, 54, 54), 3));
    // Changing a setting is seen at once, although results are remembered.
    image->gray_Scale = false;
    EXPECT_TRUE(isRed(render(image).pixel(45, 50)));
}

TEST_F(ElementPictureDraw, PicturesAreWorkedAtTheOutputSizeNeverLargerWhateverTheBounds)
{
    auto image = std::make_shared<LMNImage>();
    const QString big = path("big.png");
    ASSERT_TRUE(twoColourPicture(QSize(400, 200), Qt::red, Qt::blue).save(big));
    image->setFilePath(big);
    image->setBounds(QRectF(0, 0, 40, 20));
    image->hue_val = 10;
    EXPECT_EQ(image->processedPicture(QSize(40, 20)).size(), QSize(40, 20));
    EXPECT_EQ(image->processedPicture(QSize(4000, 2000)).size(), QSize(400, 200));

    // A blur set in points softens the same share of the card at any resolution.
    image->hue_val = 0;
    image->blr_val = 4;
    image->setBounds(QRectF(20, 20, 160, 80));
    const QImage low = render(image, 72);
    const QImage high = render(image, 288).scaled(low.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int x = 80; x < 120; x += 4)
        EXPECT_NEAR(qRed(low.pixel(x, 60)), qRed(high.pixel(x, 60)), 16) << x;

    // Absurd bounds do not break drawing: a corner of a huge picture.
    auto huge = picture(QRectF(40, 30, 1e12, 1e12));
    huge->blr_val = 3;
    EXPECT_FALSE(inkBounds(render(huge)).isEmpty());
}

TEST_F(ElementPictureDraw, BadPicturesLeaveTheElementEmpty)
{
    const QString empty = path("empty.png");
    QFile(empty).open(QIODevice::WriteOnly);
    const QString text = path("notes.png");
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is not a picture\n");
    }
    for (const QString &bad : {path("missing.png"), empty, text, m_dir.path(), QString()}) {
        SCOPED_TRACE(bad.toStdString());
        auto image = picture();
        image->_isDrawingStroke = true; // not even the border is drawn
        image->setFilePath(bad);
        EXPECT_EQ(image->FilePath(), bad);
        EXPECT_TRUE(image->_image.isNull());
        EXPECT_TRUE(inkBounds(render(image)).isEmpty());

        auto signature = std::make_shared<LMNSignature>();
        signature->setBounds(QRectF(10, 10, 50, 50));
        signature->setFilePath(bad);
        EXPECT_TRUE(signature->_image.isNull());
        EXPECT_TRUE(inkBounds(render(signature)).isEmpty());
    }
}

TEST_F(ElementPictureDraw, NaturalSizeIsThePictureSizeInPoints)
{
    QImage dense = twoColourPicture(QSize(100, 40), Qt::red, Qt::blue);
    dense.setDotsPerMeterX(5669); // 144 dpi
    dense.setDotsPerMeterY(5669);
    const QString densePath = path("dense.png");
    ASSERT_TRUE(dense.save(densePath));
    LMNImage image;
    image.setBounds(QRectF(7, 9, 1, 1));
    image.setFilePath(densePath);
    image.makeNaturalSize();
    EXPECT_EQ(image.bounds().topLeft(), QPointF(7, 9));
    EXPECT_NEAR(image.bounds().width(), 50, 0.05);
    EXPECT_NEAR(image.bounds().height(), 20, 0.05);

    LMNImage without;
    without.setBounds(QRectF(1, 2, 3, 4));
    without.makeNaturalSize();
    EXPECT_EQ(without.bounds(), QRectF(1, 2, 3, 4));
}

TEST_F(ElementPictureDraw, SignatureFollowsItsPath)
{
    auto signature = std::make_shared<LMNSignature>();
    signature->setBounds(QRectF(20, 20, 60, 30));
    signature->_isDrawingStroke = false;
    EXPECT_FALSE(signature->isFingerprint());
    signature->setFilePath(m_green);
    EXPECT_TRUE(near(render(signature).pixel(50, 35), Qt::green, 10));
    EXPECT_TRUE(TestHelpers::onlyInside(render(signature), Qt::white, pixelArea(signature->bounds())));

    // The signature panel writes the path directly; the element shows the new picture.
    signature->_file_path = m_redBlue;
    EXPECT_TRUE(isRed(render(signature).pixel(25, 35)));
    EXPECT_TRUE(near(signature->_image.pixel(0, 0), Qt::green, 0)) << "held picture unchanged until reloaded";
    signature->reloadPictureIfPathChanged();
    EXPECT_TRUE(isRed(signature->_image.pixel(0, 0)));

    signature->_file_path = path("gone.png");
    EXPECT_TRUE(inkBounds(render(signature)).isEmpty());

    // A picture restored together with its path is shown even when the file is gone.
    auto restored = std::make_shared<LMNSignature>();
    restored->setBounds(QRectF(20, 20, 60, 30));
    restored->_isDrawingStroke = false;
    restored->_file_path = path("gone.png");
    restored->_image = QImage(m_green);
    EXPECT_TRUE(near(render(restored).pixel(50, 35), Qt::green, 10));
    auto copy = std::static_pointer_cast<LMNSignature>(restored->clone());
    EXPECT_TRUE(near(render(copy).pixel(50, 35), Qt::green, 10));
    restored->_file_path = m_redBlue;
    EXPECT_TRUE(isRed(render(restored).pixel(25, 35)));
}

TEST_F(ElementPictureDraw, BarcodePictureAtItsOwnSizeAtTheOrigin)
{
    auto barcode = std::make_shared<LMNBarcode>();
    barcode->setBounds(QRectF(30, 40, 10, 10));
    QImage bars(100, 40, QImage::Format_ARGB32);
    bars.fill(Qt::black);
    bars.setDotsPerMeterX(5669); // 144 dpi: 50 x 20 points
    bars.setDotsPerMeterY(5669);
    barcode->Set_Barcode_image(bars);
    const QImage out = render(barcode);
    EXPECT_EQ(inkBounds(out, 60), QRect(30, 40, 50, 20));
    EXPECT_TRUE(barcode->drawingBounds().contains(QRectF(30, 40, 50, 20)));
    barcode->makeNaturalSize();
    EXPECT_NEAR(barcode->bounds().width(), 50, 0.05);
    EXPECT_NEAR(barcode->bounds().height(), 20, 0.05);

    // At 300 dpi the same 50 x 20 points.
    const QImage fine = render(barcode, 300);
    const QRect ink = inkBounds(fine, 60);
    EXPECT_NEAR(ink.left(), 125, 1);
    EXPECT_NEAR(ink.width(), 208, 2);
}

TEST_F(ElementPictureDraw, BarcodeWithoutPictureShowsTheSample)
{
    QTemporaryDir resources;
    QImage sample(20, 10, QImage::Format_ARGB32);
    sample.fill(Qt::green);
    ASSERT_TRUE(sample.save(resources.filePath(QStringLiteral("barcode_sample.png"))));

    auto barcode = std::make_shared<LMNBarcode>();
    barcode->setBounds(QRectF(30, 40, 60, 30));
    const QImage out = render(barcode, 72, resources.path());
    EXPECT_TRUE(near(out.pixel(60, 55), Qt::green, 10));
    EXPECT_TRUE(TestHelpers::onlyInside(out, Qt::white, pixelArea(barcode->bounds())));
    // No resource folder, or no sample in it: nothing.
    EXPECT_TRUE(inkBounds(render(barcode)).isEmpty());
    EXPECT_TRUE(inkBounds(render(barcode, 72, m_dir.path())).isEmpty());
}

TEST_F(ElementPictureDraw, SameElementsDrawAlikeOnManyThreadsAtOnce)
{
    auto image = picture();
    image->hue_val = 40;
    image->blr_val = 1;
    auto signature = std::make_shared<LMNSignature>();
    signature->setBounds(QRectF(130, 80, 40, 40));
    signature->_file_path = m_green; // never loaded on this thread: every renderer reads it
    const GraphicList graphics{image, signature};

    const QImage expected = render(LMNRenderingView::snapshot(graphics), 150);
    std::vector<QImage> results(6);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&, i] { results[i] = render(graphics, 150); });
    for (auto &t : threads)
        t.join();
    for (const QImage &result : results)
        EXPECT_EQ(result, expected);
}
