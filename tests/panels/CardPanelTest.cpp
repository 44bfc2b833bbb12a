// The card pages' commands: background pictures, the fill check box, all-text colour and font,
// card shape.

#include "PanelFixture.h"

#include "panels/ui/CardPanelCommands.h"

#include <QButtonGroup>
#include <QFile>
#include <QFontDialog>

namespace {
using CardPanel = PanelFixture;
}

TEST_F(CardPanel, BackgroundPicturesGoToTheSideInWorkOnlyWhenReadable)
{
    const QString blue = picture(QStringLiteral("sky.JPG"), Qt::blue);
    const QString broken = unreadablePicture(QStringLiteral("broken.png"));
    m_window->Select_back_side();
    const Card_Property frontBefore = m_window->Front_card_Prop;
    panel->ui.Card_fill_chk->setChecked(false);
    panel->ui.Card_fill_chk->click();
    panel->ui.Card_Image_fill_rd->click();

    struct Choice
    {
        QString file;   // empty: cancelled
        QString backPath;
        int messages;
    };
    for (const Choice &c : {Choice{{}, {}, 0}, Choice{broken, {}, 1}, Choice{blue, blue, 1}}) {
        if (!c.file.isEmpty())
            m_seam.chooseFiles({c.file});
        panel->ui.Card_Image_browse_btn->click();
        EXPECT_EQ(m_window->Back_card_Prop.Card_BG_Image_Path, c.backPath);
        EXPECT_EQ(m_seam.messages.size(), c.messages);
    }
    const Card_Property &back = m_window->Back_card_Prop;
    EXPECT_TRUE(back.Card_fill_style == QLatin1String("I") && back.Card_fill_chk && !back.Card_BG_Image.isNull());
    EXPECT_TRUE(panel->ui.Card_image_box->isEnabled());
    EXPECT_EQ(m_window->Front_card_Prop.Card_BG_Image_Path, frontBefore.Card_BG_Image_Path);

    // An empty path only empties the path view.
    m_window->set_Front_BG_Image(QString());
    EXPECT_TRUE(panel->ui.Card_Image_path->toPlainText().isEmpty());
    EXPECT_EQ(m_window->Front_card_Prop.Card_fill_style, frontBefore.Card_fill_style);
}

TEST_F(CardPanel, TickingTheFillAgainBringsBackTheRecordsStyle)
{
    Card_Property &front = m_window->Front_card_Prop;
    panel->ui.Card_fill_chk->setChecked(false);
    panel->ui.Card_fill_chk->click();   // on
    panel->ui.Card_gradient_fill_rd->click();
    EXPECT_EQ(front.Card_fill_style, QStringLiteral("G"));
    panel->ui.Card_fill_chk->click();   // off
    EXPECT_FALSE(front.Card_fill_chk || panel->ui.Card_Fill_Box->findChild<QRadioButton *>()->isEnabled());
    panel->ui.Card_solid_fill_rd->setChecked(true);   // a stray radio while the fill was off
    panel->ui.Card_fill_chk->click();   // on again
    EXPECT_TRUE(front.Card_fill_chk && front.Card_fill_style == QLatin1String("G") && panel->ui.Card_gradient_fill_rd->isChecked());
}

TEST_F(CardPanel, AllTextColourAndFontGoIntoTheSidesTextElementsOnly)
{
    GraphicPtr text = add(GraphicKind::Text);
    GraphicPtr shape = add(GraphicKind::Shape);
    GraphicPtr backText = add(GraphicKind::Text, QRectF(0, 0, 50, 20), 1);
    m_window->Show_RHS_Properties(nullptr);
    const QColor shapeText = shape->txt_clr;

    panel->ui.All_Text_clr->setColor(QColor(200, 0, 0));
    emit panel->ui.All_Text_clr->colorChanged(QColor(200, 0, 0));
    EXPECT_TRUE(text->txt_clr == QColor(200, 0, 0) && shape->txt_clr == shapeText && backText->txt_clr != QColor(200, 0, 0));
    EXPECT_EQ(m_window->Front_card_Prop.Card_Content_clr, QColor(200, 0, 0));

    const CardFont before = text->text_ctrl_font;
    answerFontDialog(30);
    panel->ui.All_Text_font_btn->click();
    EXPECT_TRUE(text->text_ctrl_font.pointSize == 30.0 && !(before == text->text_ctrl_font));
    EXPECT_TRUE(panel->ui.All_Text_font_value->text().contains(QStringLiteral("30.00")));
}

TEST_F(CardPanel, ShapeMatrixSetsTheCardShapeAndKeepsTheSize)
{
    const QSizeF size = m_window->cardSize();
    panel->matrix_card_shape->button(2)->click();
    EXPECT_TRUE(Card_Shape.load() == 2 && m_window->Front_card_Prop.Card_Shape == QLatin1String("E"));
    EXPECT_NEAR(m_window->cardSize().width(), size.width(), 0.01);
    EXPECT_NEAR(m_window->cardSize().height(), size.height(), 0.01);
}

TEST_F(CardPanel, TurningAPresetKeepsTheChosenSize)
{
    QComboBox *category = panel->ui.Category_ComboBox;
    category->setCurrentIndex(category->findText(QStringLiteral("Paper Card")));
    emit category->textActivated(category->currentText());
    int a5 = -1;
    for (int row = 0; row < panel->ListData.size(); ++row)
        if (m_window->Get_Item_Text(row) == QLatin1String("A5 Card"))
            a5 = row;
    ASSERT_GT(a5, 0);   // not the first row
    m_window->Mark_List_New_Selection(a5);

    QComboBox *preset = panel->ui.Preset_ComboBox;
    preset->setCurrentIndex(preset->findText(QStringLiteral("Vertical")));
    emit preset->activated(preset->currentIndex());
    EXPECT_EQ(panel->selectedSizeRow(), a5);
    EXPECT_EQ((m_window->cardSize() * 100).toSize(), (QSizeF(148, 210) * 283.4645669291).toSize());
}
