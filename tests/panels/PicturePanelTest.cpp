// The picture and signature pages, their file commands, and the lock and stacking buttons.

#include "PanelFixture.h"

#include "support/BigPictures.h"
#include "support/ForeignPictures.h"
#include "support/TestHelpers.h"

#include "document/LMNImage.h"
#include "document/LMNSignature.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace {

using PicturePanel = PanelFixture;

std::shared_ptr<LMNImage> asImage(const GraphicPtr &g)
{
    return std::static_pointer_cast<LMNImage>(g);
}

} // namespace

TEST_F(PicturePanel, ResetAskedFirstAndSlidersWriteTheirValuesUnchanged)
{
    GraphicPtr a = add(GraphicKind::Image);
    GraphicPtr b = add(GraphicKind::Image);
    a->_strokeWidth = 3;
    select({a, b});
    Ui::ImagePage &page = panel->ui.image_tab->ui;
    page.Trsp_slidr_val->setValue(37.5);
    page.Sat_slidr->setValue(150);
    page.Image_Sepia_chk->click();
    for (const GraphicPtr &g : {a, b})
        EXPECT_TRUE(g->img_trnsp_val == 37.5f && g->sat_val == 1.5f && g->Sepia);
    EXPECT_TRUE(page.Trsp_slidr->value() == 375 && page.Sat_slidr_val->value() == 1.5);

    struct Answer
    {
        QString button;
        float opacity;
        bool sepia;
    };
    for (const Answer &answer : {Answer{"No", 37.5f, true}, Answer{"Yes", 100.0f, false}}) {
        m_seam.answerMessages({answer.button});
        page.Image_reset_btn->click();
        EXPECT_EQ(m_seam.messages.last().text, QStringLiteral("Are you sure you want to continue?"));
        for (const GraphicPtr &g : {a, b})
            EXPECT_TRUE(g->img_trnsp_val == answer.opacity && g->Sepia == answer.sepia) << answer.button.toStdString();
    }
    EXPECT_TRUE(a->sat_val == 1.0f && a->con_val == 1.0f && !page.Image_Sepia_chk->isChecked());
    EXPECT_DOUBLE_EQ(a->_strokeWidth, 3.0);   // the border is not an effect
}

TEST_F(PicturePanel, ChosenFileLoadsOnlyWhenReadableAndPathViewsCannotBeEdited)
{
    GraphicPtr photo = add(GraphicKind::Image);
    asImage(photo)->setFilePath(picture(QStringLiteral("first.png")));
    select({photo});
    QPlainTextEdit *pathView = panel->ui.datasource_tab->ui.Manual_image_path;
    EXPECT_TRUE(pathView->isReadOnly() && panel->ui.sign_tab->ui.Sign_image_path->isReadOnly() && panel->ui.Card_Image_path->isReadOnly());

    const QString upper = picture(QStringLiteral("IMG_0001.JPG"), Qt::blue);
    const QString broken = unreadablePicture(QStringLiteral("broken.png"));

    struct Choice
    {
        QString file;     // empty: cancelled
        QString path;     // the element's path afterwards
        bool message;
    };
    const QString first = photo->_file_path;
    const QList<Choice> choices = {{{}, first, false}, {broken, first, true}, {upper, upper, false}};
    for (const Choice &c : choices) {
        m_seam.messages.clear();
        if (!c.file.isEmpty())
            m_seam.chooseFiles({c.file});
        panel->ui.datasource_tab->ui.Manual_Image_Browse_Btn->click();
        EXPECT_TRUE(photo->_file_path == c.path && pathView->toPlainText() == c.path) << c.file.toStdString();
        EXPECT_EQ(m_seam.messages.size(), c.message ? 1 : 0);
        EXPECT_EQ(Library_Selected_Image, c.file == upper ? upper : QString());
    }
    EXPECT_TRUE(TestHelpers::near(photo->_image.pixel(0, 0), Qt::blue, 50));   // JPEG: nearly the blue written
}

TEST_F(PicturePanel, ANewPicturePathGoesOnlyIntoPicturesAndEachLoadsIt)
{
    const QString oldFile = picture(QStringLiteral("old.png"), Qt::red);
    const QString newFile = picture(QStringLiteral("new.png"), Qt::green);
    const QString inkFile = picture(QStringLiteral("ink.png"), Qt::black);
    GraphicPtr a = add(GraphicKind::Image);
    GraphicPtr b = add(GraphicKind::Image);
    GraphicPtr sign = add(GraphicKind::Signature);
    asImage(a)->setFilePath(oldFile);
    asImage(b)->setFilePath(oldFile);
    std::static_pointer_cast<LMNSignature>(sign)->setFilePath(inkFile);
    select({a, b, sign});
    m_seam.chooseFiles({newFile});
    panel->ui.datasource_tab->ui.Manual_Image_Browse_Btn->click();
    for (const GraphicPtr &g : {a, b})
        EXPECT_TRUE(g->_file_path == newFile && g->_image.pixelColor(0, 0) == QColor(Qt::green));
    EXPECT_EQ(sign->_file_path, inkFile);

    // The signature page sets the signature's file and leaves pictures alone.
    select({sign, a});
    const QString otherInk = picture(QStringLiteral("ink2.png"), Qt::darkBlue);
    m_seam.chooseFiles({otherInk});
    panel->ui.sign_tab->ui.Sign_Browse_Btn->click();
    EXPECT_TRUE(sign->_file_path == otherInk && a->_file_path == newFile);
}

TEST_F(PicturePanel, LockUnlockAndStackingButtons)
{
    GraphicPtr back = add(GraphicKind::Shape);
    GraphicPtr front = add(GraphicKind::Line);
    ASSERT_EQ(canvas()->graphics().first(), front);
    select({back});
    panel->ui.Begin_Front_btn->click();
    EXPECT_EQ(canvas()->graphics().first(), back);
    panel->ui.Send_Back_btn->click();
    EXPECT_EQ(canvas()->graphics().last(), back);
    m_document.undoManager()->undo();
    EXPECT_EQ(canvas()->graphics().first(), back);

    panel->ui.Lock_btn->click();
    EXPECT_TRUE(back->ctrl_is_locked && panel->ui.Unlock_btn->isEnabled());
    EXPECT_EQ(tabTitles(), QStringList({QStringLiteral("Rectangle Properties")}));
    panel->ui.Unlock_btn->click();
    EXPECT_TRUE(!back->ctrl_is_locked && tabTitles().last() == QLatin1String("Align"));

    panel->ui.print_object_chk->click();
    EXPECT_EQ(back->print_object, 1);

    // Paste follows the clipboard, whoever copied.
    canvas()->copy();
    EXPECT_TRUE(panel->ui.Paste_btn->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("plain text"));
    EXPECT_FALSE(panel->ui.Paste_btn->isEnabled());
}

// Every road by which a user puts a picture file into a design, for the pictures that pass
// Qt's own allocation limit (phone photos, a grey scan, a large PNG, a QR Code made at
// 2400 dpi) and a big-endian TIFF: each takes the file's pixels whole, without a message. A
// file past what a design may take, not a picture, or no regular file at all, is refused on
// every road with a message naming it and why.
namespace {

enum class Road { Insert, ChooseFile, Background };

const char *roadName(Road road)
{
    switch (road) {
    case Road::Insert: return "Insert Picture";
    case Road::ChooseFile: return "Choose File";
    case Road::Background: return "Background";
    }
    return "";
}

} // namespace

TEST_F(PicturePanel, EveryRoadTakesLargePicturesWholeOrSaysWhyNot)
{
    canvas()->setZoom(0.25);
    // Takes `file` by `road`; the picture it gave, or a null one.
    const auto take = [&](Road road, const QString &file) -> QImage {
        m_seam.chooseFiles({file});
        switch (road) {
        case Road::Insert: {
            const qsizetype before = m_document.graphics.size();
            m_window->selectToolNumber(8);
            if (m_window->Selected_Control_Tool() != 8)
                return {};
            QTest::mousePress(canvas(), Qt::LeftButton, {}, QPoint(20, 20));
            QTest::mouseMove(canvas(), QPoint(60, 50));
            QTest::mouseRelease(canvas(), Qt::LeftButton, {}, QPoint(60, 50));
            if (m_document.graphics.size() != before + 1 || m_document.graphics.value(0)->FilePath() != file)
                return {};
            return m_document.graphics.value(0)->_image;
        }
        case Road::ChooseFile: {
            GraphicPtr photo = add(GraphicKind::Image);
            select({photo});
            panel->ui.datasource_tab->ui.Manual_Image_Browse_Btn->click();
            return photo->FilePath() == file ? photo->_image : QImage();
        }
        case Road::Background:
            m_window->Front_card_Prop.Card_BG_Image = QImage();
            m_window->Show_RHS_Properties(nullptr);
            panel->ui.Card_fill_chk->setChecked(false);
            panel->ui.Card_fill_chk->click();
            panel->ui.Card_Image_fill_rd->click();
            panel->ui.Card_Image_browse_btn->click();
            return m_window->Front_card_Prop.Card_BG_Image_Path == file ? m_window->Front_card_Prop.Card_BG_Image : QImage();
        }
        return {};
    };
    const QList<Road> roads = {Road::Insert, Road::ChooseFile, Road::Background};

    // `file` taken whole on every road, as `expected`.
    const auto takenWhole = [&](const std::string &name, const QString &file, const QImage &expected) {
        ASSERT_FALSE(file.isEmpty());
        ASSERT_FALSE(expected.isNull());
        for (const Road road : roads) {
            SCOPED_TRACE(name + " by " + roadName(road));
            m_seam.messages.clear();
            const QImage taken = take(road, file);
            EXPECT_TRUE(m_seam.messages.isEmpty()) << m_seam.messages.value(0).text.toStdString();
            ASSERT_EQ(taken.size(), expected.size());
            EXPECT_TRUE(taken.convertToFormat(expected.format()) == expected);
        }
        m_document.graphics.clear();
    };
    for (const BigPictures::Kind kind : BigPictures::all())
        takenWhole(BigPictures::name(kind), BigPictures::file(kind), BigPictures::pixels(kind));
    // A small TIFF in the Motorola byte order.
    QImage yellow(16, 16, QImage::Format_RGB32);
    yellow.fill(Qt::yellow);
    takenWhole("big-endian TIFF", TestHelpers::writeFile(m_resources.filePath(QStringLiteral("motorola.tif")),
                                                         ForeignPictures::bigEndianTiff(yellow.pixel(0, 0))),
               yellow);

    struct Refused
    {
        QString file;
        QString message;
    };
    const QDir folder(m_resources.path());
    const QString huge = BigPictures::pngOfSize(folder.filePath(QStringLiteral("huge.png")), QSize(20000, 15000));
    const auto notRead = [](const QString &name) {
        return QStringLiteral("The file \"%1\" is not a picture of a kind Festiloom reads: PNG, JPEG, GIF, BMP or TIFF.").arg(name);
    };
    QList<Refused> refused = {
        {huge, QStringLiteral("The picture \"huge.png\" cannot be used: it is 20000 x 15000 pixels, which take 1145 MB to "
                              "read, more than the 768 MB a design may take.")},
        {unreadablePicture(QStringLiteral("notes.jpg")), notRead(QStringLiteral("notes.jpg"))},
    };
    // SVG files, whatever their names, that name a picture of this disk (absolute, or relative
    // to the current folder) or a FIFO: neither is opened, nothing waits.
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    const QStringList names = {QStringLiteral("absolute.png"), QStringLiteral("relative.jpg"), QStringLiteral("fifo.svg")};
    for (qsizetype i = 0; i < names.size(); ++i)
        refused.append({TestHelpers::writeFile(folder.filePath(names.at(i)), named.svgs().at(i).second), notRead(names.at(i))});
    // The FIFO itself, named by its whole path.
    refused.append({named.fifo(), QStringLiteral("The picture \"%1\" cannot be used: it is not a regular file.").arg(named.fifo())});
    for (const Refused &r : refused) {
        for (const Road road : roads) {
            SCOPED_TRACE(r.file.toStdString() + " by " + roadName(road));
            m_seam.messages.clear();
            EXPECT_TRUE(take(road, r.file).isNull());
            ASSERT_EQ(m_seam.messages.size(), 1);
            EXPECT_EQ(m_seam.messages.first().text.trimmed(), r.message);
        }
    }
    EXPECT_EQ(named.fifoOpened(), 0);
}
