// The tools and dialogs of the editor that used to do the wrong thing, through the real
// canvas, panel and dialogs.

#include "PanelFixture.h"

#include "barcode/BarcodeGlobals.h"
#include "barcode/ui/Barcode_Gen.h"
#include "document/LMNBarcode.h"
#include "document/LMNImage.h"
#include "document/LMNText.h"
#include "document/PaintStyles.h"
#include "document/ui/OverflowSign.h"
#include "editor/ui/DesignFileCommands.h"
#include "panels/ui/CardPanelCommands.h"

#include <QAction>
#include <QFontInfo>
#include <QStandardPaths>
#include <QToolBar>
#include <QTemporaryDir>
#include <QUndoStack>

namespace {

using EditTools = PanelFixture;

// Whether a widget grab shows the overflow sign's colour inside `area`.
bool showsSign(const QImage &grab, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (grab.valid(x, y) && QColor(grab.pixel(x, y)) == OverflowSign::colour())
                return true;
    return false;
}

} // namespace

TEST_F(EditTools, ThePictureToolDrawsTheChosenPicture)
{
    const QString file = picture(QStringLiteral("cake.png"), QColor(0, 128, 255), QSize(40, 30));
    canvas()->setZoom(1.0);
    select({add(GraphicKind::Shape)});   // as a user has something selected
    m_seam.chooseFiles({file});
    m_window->selectToolNumber(8);
    QTest::mousePress(canvas(), Qt::LeftButton, {}, QPoint(100, 60));
    QTest::mouseMove(canvas(), QPoint(140, 90));
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, QPoint(140, 90));
    const GraphicPtr made = m_document.graphics.value(0);
    ASSERT_TRUE(made && made->kind() == GraphicKind::Image);
    EXPECT_EQ(made->FilePath(), file);
    EXPECT_EQ(panel->ui.datasource_tab->ui.Manual_image_path->toPlainText(), file);
    const QImage side = m_window->files()->renderSide(0);
    EXPECT_EQ(QColor(side.pixel(120, 75)), QColor(0, 128, 255));
}

TEST_F(EditTools, ABarcodeFrameTakesThePictureSizeAndOffersNoHandles)
{
    canvas()->setZoom(1.0);
    auto barcode = std::make_shared<LMNBarcode>();
    const QSizeF card = m_window->cardSize();
    barcode->setBounds(QRectF(card.width() - 30, 20, 20, 10));   // near the right edge
    canvas()->graphics().prepend(barcode);
    select({barcode});
    m_seam.onDialog([](QDialog *dialog) {
        auto *designer = qobject_cast<Barcode_Gen *>(dialog);
        designer->ui.dataText->setText(QStringLiteral("FESTILOOM-0042"));
        QTest::mouseClick(designer->ui.ok_btn, Qt::LeftButton);
        return designer->result();
    });
    QTest::mouseClick(panel->ui.View_barcode_prop_Button, Qt::LeftButton);
    const QSizeF picture = PaintStyles::pictureSizeInPoints(barcode->_barcode_image);
    ASSERT_FALSE(picture.isEmpty());
    EXPECT_EQ(barcode->bounds().size(), picture);
    EXPECT_TRUE(QRectF(QPointF(0, 0), card).contains(barcode->bounds()));
    EXPECT_EQ(barcode->bounds().top(), 20);
    EXPECT_EQ(m_document.undoManager()->count(), 1);   // one step per OK

    // No handle: a press on the frame's corner moves the barcode instead of resizing it.
    const QRectF before = barcode->bounds();
    const QPoint corner = before.bottomRight().toPoint() - QPoint(1, 1);
    QTest::mousePress(canvas(), Qt::LeftButton, {}, corner);
    QTest::mouseMove(canvas(), corner + QPoint(15, 7));
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, corner + QPoint(15, 7));
    EXPECT_EQ(barcode->bounds().size(), before.size());
    EXPECT_TRUE(panel->ui.barcode_tab_label->text().contains(QStringLiteral("size")));
}

TEST_F(EditTools, ARoundedCardClipsItsPictureBackground)
{
    m_window->Select_front_side();
    if (!panel->ui.Card_fill_chk->isChecked())
        panel->ui.Card_fill_chk->click();
    panel->ui.Card_Image_fill_rd->click();
    m_seam.chooseFiles({picture(QStringLiteral("wall.png"), Qt::darkGreen, QSize(60, 40))});
    panel->ui.Card_Image_browse_btn->click();
    panel->ui.card_shape_rounded->click();
    const QImage side = m_window->files()->renderSide(0);
    EXPECT_EQ(qAlpha(side.pixel(0, 0)), 0);
    EXPECT_EQ(QColor(side.pixel(side.width() / 2, side.height() / 2)), QColor(Qt::darkGreen));
}

TEST_F(EditTools, ClippedTextShowsTheOverflowSignOnlyOnTheCanvas)
{
    canvas()->setZoom(1.0);
    canvas()->graphics().clear();
    GraphicPtr fits = add(GraphicKind::Text, QRectF(10, 10, 200, 40));
    GraphicPtr cut = add(GraphicKind::Text, QRectF(10, 80, 60, 16));
    for (const GraphicPtr &text : {fits, cut})
        text->setText(QStringLiteral("Alice Andersson"));
    canvas()->resize(canvas()->sizeHint());
    const QImage grab = canvas()->grab().toImage();
    auto corner = [](const GraphicPtr &g) { return g->bounds().toAlignedRect().adjusted(-2, -2, 2, 2); };
    EXPECT_TRUE(showsSign(grab, QRect(corner(cut).bottomRight() - QPoint(14, 14), QSize(15, 15))));
    EXPECT_FALSE(showsSign(grab, QRect(corner(fits).bottomRight() - QPoint(14, 14), QSize(15, 15))));
    const QImage exported = m_window->files()->renderSide(0);
    EXPECT_FALSE(showsSign(exported, exported.rect()));
}

TEST_F(EditTools, TheFontDialogStartsOnTheElementsFont)
{
    GraphicPtr text = add(GraphicKind::Text);
    text->text_ctrl_font = CardFont(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 15);
    select({text});
    QFont started;
    m_seam.onDialog([&started](QDialog *dialog) {
        auto *fonts = qobject_cast<QFontDialog *>(dialog);
        started = fonts->currentFont();
        QFont bigger = started;
        bigger.setPointSizeF(20);
        fonts->setCurrentFont(bigger);
        fonts->accept();
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(panel->ui.text_prop_tab->ui.Text_font_btn, Qt::LeftButton);
    const QFont expected = CardFont(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 15).toQFont();
    EXPECT_EQ(started.family(), QFontInfo(expected).family());
    EXPECT_TRUE(started.bold() && started.italic());
    EXPECT_EQ(started.pointSizeF(), 15);
    // Only the size changed: the family and style stay the element's.
    EXPECT_EQ(text->text_ctrl_font, CardFont(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 20));
    // The panel names the family as the font system does, from its start.
    const QString shown = panel->ui.text_prop_tab->ui.Text_font_value->text();
    EXPECT_TRUE(shown.startsWith(QFontInfo(expected).family())) << shown.toStdString();
}

TEST_F(EditTools, SaveAsWithoutADocumentsFolderSuggestsTheDesignsName)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    panel->ui.card_name->setText(QStringLiteral("Party"));
    emit panel->ui.card_name->editingFinished();
    m_seam.chooseFiles({QString()});
    m_window->files()->saveAs();
    qputenv("HOME", oldHome);
    ASSERT_EQ(m_seam.fileDirs.size(), 1);
    EXPECT_EQ(QFileInfo(m_seam.fileDirs.first()).completeBaseName(), QStringLiteral("Party"));
    EXPECT_EQ(QFileInfo(m_seam.fileDirs.first()).absolutePath(), home.path());
}
