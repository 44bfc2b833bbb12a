// The settings panel through the real editor window: which pages an element shows, how they
// are filled, and how each page writes back into the selected elements.

#include "PanelFixture.h"

#include "document/LMNImage.h"
#include "document/LMNRenderingView.h"
#include "document/LMNSignature.h"
#include "support/ForeignPictures.h"
#include "support/TestHelpers.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QScrollArea>
#include <QSplitter>
#include <QStyleOptionFrame>

#include <memory>
#include <vector>

namespace {

using SettingsPanelShowing = PanelFixture;
using SettingsPanelWriteBack = PanelFixture;

struct ShowCase
{
    GraphicKind kind;
    QString shapeCode;
    bool locked;
    QStringList tabs;
    QString marker;
    std::vector<bool> shapeSteppers;   // corner radius, double star, polygon
};

} // namespace

TEST_F(SettingsPanelShowing, EachKindShowsItsPagesLabelsAndExtraControls)
{
    const QList<ShowCase> cases = {
        {GraphicKind::Text, {}, false, {"Text", "Text Style", "Text Source", "Align"}, "T", {}},
        {GraphicKind::Text, {}, true, {"Text Properties"}, "T", {}},
        {GraphicKind::Image, {}, false, {"Image Source", "Picture", "Align"}, "I", {}},
        {GraphicKind::Image, {}, true, {"Image Properties"}, "I", {}},
        {GraphicKind::Line, {}, false, {"Line", "Align"}, "NONE", {}},
        {GraphicKind::Signature, {}, false, {"Signature Properties", "Align"}, "S", {}},
        {GraphicKind::Barcode, {}, true, {"Barcode Properties"}, "NONE", {}},
        {GraphicKind::Shape, "RR", false, {"Rounded Rectangle Properties", "Align"}, "NONE", {true, false, false}},
        {GraphicKind::Shape, "S", false, {"Star Properties", "Align"}, "NONE", {false, false, false}},
        {GraphicKind::Shape, "DS", false, {"Double Star Properties", "Align"}, "NONE", {false, true, false}},
        {GraphicKind::Shape, "P", false, {"Polygon Properties", "Align"}, "NONE", {false, false, true}},
        {GraphicKind::Shape, "R", true, {"Rectangle Properties"}, "NONE", {false, false, false}},
        {GraphicKind::Shape, "RR", true, {"Rounded Rectangle Properties"}, "NONE", {false, false, false}},
    };
    for (const ShowCase &c : cases) {
        SCOPED_TRACE(tabTitles().join(QLatin1Char('|')).toStdString() + " before case " + c.tabs.first().toStdString());
        GraphicPtr g = add(c.kind);
        if (!c.shapeCode.isEmpty())
            g->_shape_type = c.shapeCode;
        g->ctrl_is_locked = c.locked;
        select({g});
        EXPECT_EQ(tabTitles(), c.tabs);
        EXPECT_EQ(panel->ui.sel_control_name->text(), c.marker);
        const Ui::ShapePage &shape = panel->ui.shape_tab->ui;
        if (c.kind == GraphicKind::Shape) {
            EXPECT_EQ((std::vector<bool>{!shape.shape_cor_radius_Stepper->isHidden(), !shape.double_star_Stepper->isHidden(),
                                         !shape.polygon_Stepper->isHidden()}), c.shapeSteppers);
        }
        EXPECT_TRUE(panel->ui.Unlock_btn->isEnabled() == c.locked && panel->ui.Lock_btn->isEnabled() == !c.locked);
        EXPECT_FALSE(Not_Draw_Only_Prop_Change);
    }
    // The card comes back with its own pages and no element buttons.
    m_window->Show_RHS_Properties(nullptr);
    EXPECT_EQ(tabTitles().first(), QStringLiteral("Card"));
    EXPECT_FALSE(panel->ui.Delete_btn->isEnabled());
    EXPECT_TRUE(panel->Last_Selected_Graphic.expired());
}

TEST_F(SettingsPanelShowing, PartyTextsOfferTheirStockTextAndTheGuardStopsShowing)
{
    const QList<std::pair<QString, QString>> cases = {{"PARTY_TITLE", "Use Template Title"},
                                                      {"PARTY_MSG", "Use Template Message"},
                                                      {"PARTY_TO", {}}};
    for (const auto &[id, title] : cases) {
        GraphicPtr text = add(GraphicKind::Text);
        text->control_ID = id;
        select({text});
        QPushButton *button = panel->ui.text_edtng_tab->ui.insert_template_btn;
        EXPECT_EQ(button->isHidden() ? QString() : button->text(), title) << id.toStdString();
    }
    // While the guard is on, showing changes nothing, not even the tool.
    GraphicPtr line = add(GraphicKind::Line);
    m_window->setSelected_Control_Tool(3);
    Not_Draw_Only_Prop_Change = true;
    m_window->Show_RHS_Properties(line);
    Not_Draw_Only_Prop_Change = false;
    EXPECT_TRUE(m_window->Selected_Control_Tool() == 3 && tabTitles().first() == QLatin1String("Text"));
}

TEST_F(SettingsPanelShowing, GuardIsClearedOnEveryWayOut)
{
    try {
        const LoadingGuard guard;
        EXPECT_TRUE(Not_Draw_Only_Prop_Change);
        throw std::runtime_error("filling failed");
    } catch (const std::runtime_error &) {
    }
    EXPECT_FALSE(Not_Draw_Only_Prop_Change);
}

TEST_F(SettingsPanelShowing, AnElementMadeAfterTheShownOneWasDeletedIsShownAfresh)
{
    GraphicPtr first = add(GraphicKind::Line);
    first->_strokeWidth = 7;
    select({first});
    canvas()->Clear_Control_Selection();
    canvas()->graphics().removeAll(first);
    first.reset();   // its memory may well hold the next element

    GraphicPtr second = add(GraphicKind::Line);
    second->_strokeWidth = 2;
    select({second});
    EXPECT_EQ(panel->ui.line_tab->ui.Line_Wdt_Stepper->value(), 2);
    panel->ui.line_tab->ui.Line_alpha_Stepper->setValue(40);
    EXPECT_DOUBLE_EQ(second->_strokeWidth, 2.0);
}

TEST_F(SettingsPanelShowing, DeletingTheShownElementShowsTheCardAgain)
{
    GraphicPtr text = add(GraphicKind::Text);
    select({text});
    ASSERT_EQ(tabTitles().first(), QStringLiteral("Text"));
    canvas()->deleteSelection();
    EXPECT_EQ(tabTitles().first(), QStringLiteral("Card"));
}

TEST_F(SettingsPanelShowing, UnknownCodesSelectNothingAndAreKeptByTheWriteBack)
{
    GraphicPtr known = add(GraphicKind::Text);
    known->_stroke_border_type = QStringLiteral("DO");
    known->text_alignmnet = 2;
    select({known});
    EXPECT_EQ(panel->ui.text_prop_tab->ui.Text_border_style->currentIndex(), 2);

    GraphicPtr odd = add(GraphicKind::Text);
    odd->_stroke_border_type = QStringLiteral("ZIGZAG");
    odd->text_alignmnet = 9;
    odd->text_transfrom_case = -3;
    select({odd});
    const Ui::TextPropPage &page = panel->ui.text_prop_tab->ui;
    EXPECT_EQ((std::vector<int>{page.Text_border_style->currentIndex(), page.Text_align_combo->currentIndex(),
                                page.Text_case_combo->currentIndex()}), (std::vector<int>{-1, -1, -1}));
    page.Text_alpha_Stepper->setValue(50);
    EXPECT_TRUE(odd->_stroke_border_type == QLatin1String("ZIGZAG") && odd->text_alignmnet == 9 && odd->alpha_val == 0.5f);
}

TEST_F(SettingsPanelWriteBack, EachPageWritesEverySelectedElementWhateverItsKind)
{
    GraphicPtr shape = add(GraphicKind::Shape);
    GraphicPtr text = add(GraphicKind::Text);
    GraphicPtr line = add(GraphicKind::Line);
    select({shape, text});
    Ui::ShapePage &page = panel->ui.shape_tab->ui;
    page.shape_alpha_Stepper->setValue(50);
    EXPECT_TRUE(shape->alpha_val == 0.5f && text->alpha_val == 0.5f && line->alpha_val == 100.0f);   // the line is not selected

    // Border off keeps colour and width; fill on with the hatch radio gives "H".
    shape->_strokeWidth = 4;
    page.Shape_border_chk->setChecked(true);
    page.Shape_border_chk->click();
    EXPECT_TRUE(!shape->_isDrawingStroke && shape->_strokeWidth == 4.0);
    page.Shape_fill_chk->setChecked(false);
    page.Shape_fill_chk->click();
    page.Shape_Style_fill_rd->click();
    EXPECT_EQ(shape->_fill_type, QStringLiteral("H"));
    EXPECT_TRUE(page.shape_hatch_style->isEnabled() && !page.shape_fill_clr->isEnabled());

    // The line page: opacity goes to the stroke only; an unselected cap is stored as 0.
    select({line});
    panel->ui.line_tab->ui.Line_cap_style->setCurrentIndex(-1);
    panel->ui.line_tab->ui.Line_alpha_Stepper->setValue(40);
    EXPECT_TRUE(line->alpha_val_stroke == 0.4f && line->alpha_val == 100.0f && line->_line_cap_style == 0);

    // Nothing selected, or the guard on: nothing changes.
    canvas()->Clear_Control_Selection();
    panel->ui.line_tab->ui.Line_alpha_Stepper->setValue(10);
    EXPECT_FLOAT_EQ(line->alpha_val_stroke, 0.4f);
    canvas()->selectGraphics({line});
    Not_Draw_Only_Prop_Change = true;
    panel->ui.line_tab->ui.Line_alpha_Stepper->setValue(20);
    Not_Draw_Only_Prop_Change = false;
    EXPECT_FLOAT_EQ(line->alpha_val_stroke, 0.4f);
}

TEST_F(SettingsPanelWriteBack, WhatThePanelsWriteIsWhatTheSideRendersAs)
{
    GraphicPtr shape = add(GraphicKind::Shape, QRectF(40, 40, 80, 60));
    GraphicPtr line = add(GraphicKind::Line, QRectF(10, 120, 200, 0));
    select({shape});
    Ui::ShapePage &page = panel->ui.shape_tab->ui;
    page.shape_fill_clr->setColor(QColor(0, 160, 0));
    page.Shape_fill_chk->setChecked(false);
    page.Shape_fill_chk->click();
    page.Shape_solid_fill_rd->click();
    select({line});
    panel->ui.line_tab->ui.Line_clr->setColor(QColor(0, 0, 200));
    panel->ui.line_tab->ui.Line_Wdt_Stepper->setValue(6);

    const LMNRenderingView renderer(m_window->cardSize(), m_window->backgroundPainterForSide(0));
    QImage side = renderer.image_From_Card_Graphics(canvas()->graphics());
    EXPECT_EQ(side.pixelColor(80, 70).rgb(), QColor(0, 160, 0).rgb());
    EXPECT_EQ(side.pixelColor(100, 120).rgb(), QColor(0, 0, 200).rgb());
    // Left out of print and export: the rendering no longer shows it.
    panel->ui.print_object_chk->click();
    side = renderer.image_From_Card_Graphics(canvas()->graphics());
    EXPECT_NE(side.pixelColor(100, 120).rgb(), QColor(0, 0, 200).rgb());
    EXPECT_TRUE(line->_strokeWidth == 6.0 && line->_strokeColor == QColor(0, 0, 200));
}

TEST_F(SettingsPanelWriteBack, TypingFollowsTheRulesAndOnlyOneSelectedElementTakesTheText)
{
    GraphicPtr text = add(GraphicKind::Text);
    select({text});
    QPlainTextEdit *edit = panel->ui.text_edtng_tab->ui.Text_value_Edit;
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, QStringLiteral("Hi"));
    EXPECT_EQ(text->_Text_contents, QStringLiteral("Hi"));

    // Pasted, kept: 250 characters at most, never half an emoji, the placeholder text taken out.
    const std::pair<QString, QString> pastes[] = {
        {QString(300, QLatin1Char('x')), QString(250, QLatin1Char('x'))},
        {QString(249, QLatin1Char('y')) + QStringLiteral("\U0001F600"), QString(249, QLatin1Char('y'))},
        {QStringLiteral("Dear Text here Ann, text here"), QStringLiteral("Dear  Ann, text here")}};
    for (const auto &[pasted, kept] : pastes) {
        edit->clear();
        edit->insertPlainText(pasted);
        EXPECT_EQ(text->_Text_contents, kept);
    }
    // Typing in the middle keeps the caret where the user types.
    edit->setPlainText(QString(250, QLatin1Char('z')));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(10);
    edit->setTextCursor(cursor);
    QTest::keyClicks(edit, QStringLiteral("AB"));
    EXPECT_TRUE(edit->textCursor().position() == 12 && text->_Text_contents.mid(10, 2) == QLatin1String("AB"));

    // Two selected: style for both, text for none.
    GraphicPtr other = add(GraphicKind::Text);
    canvas()->selectGraphics({text, other});
    const QString before = text->_Text_contents;
    QTest::keyClicks(edit, QStringLiteral("Q"));
    EXPECT_TRUE(text->_Text_contents == before && other->_Text_contents == QLatin1String("Text here"));
    panel->ui.text_prop_tab->ui.Text_case_combo->setCurrentIndex(1);
    commands->comboBoxSelectionDidChange(panel->ui.text_prop_tab->ui.Text_case_combo);
    EXPECT_EQ(other->text_transfrom_case, 1);
}

TEST_F(SettingsPanelWriteBack, DateTimeAndStockTextGoIntoTheText)
{
    GraphicPtr text = add(GraphicKind::Text);
    text->control_ID = QStringLiteral("PARTY_MSG");
    select({text});
    Ui::TextEditPage &page = panel->ui.text_edtng_tab->ui;

    page.Text_Date_style->setCurrentIndex(-1);
    page.Text_Time_style->setCurrentIndex(-1);
    page.Text_Insert_Date_btn->click();
    page.Text_Insert_Time_btn->click();
    EXPECT_EQ(m_seam.messageTexts(),
              QStringList({QStringLiteral("\nPlease select Date format."), QStringLiteral("\nPlease select Time format.")}));

    page.Text_Date_style->setCurrentIndex(5);   // yyyy-MM-dd
    page.Text_value_Edit->selectAll();
    page.Text_Insert_Date_btn->click();
    EXPECT_EQ(text->_Text_contents, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));

    // The stock-text picker answers with its first message.
    TestHelpers::writeFile(QDir(m_resources.path()).filePath(QStringLiteral("Message.txt")), "You are invited!\n");
    m_seam.onDialog([](QDialog *dialog) {
        auto *list = dialog->findChild<QListWidget *>();
        if (!list || list->count() == 0)
            return int(QDialog::Rejected);
        list->setCurrentRow(0);
        dialog->accept();
        return dialog->result();
    });
    page.insert_template_btn->click();
    EXPECT_EQ(text->_Text_contents, QStringLiteral("You are invited!"));

    // The font chosen in the font dialog goes into the text.
    answerFontDialog(22);
    panel->ui.text_prop_tab->ui.Text_font_btn->click();
    EXPECT_DOUBLE_EQ(text->text_ctrl_font.pointSize, 22.0);
    EXPECT_TRUE(panel->ui.text_prop_tab->ui.Text_font_value->text().endsWith(QStringLiteral("( 22.00 )")));
}

namespace {

// Where a line edit lays out its text: the style's contents rectangle less its text margins
// (the line edit keeps two more pixels each side).
QRect textRoom(const QLineEdit *field)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
    return field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field).marginsRemoved(field->textMargins());
}

// DejaVu Sans renamed `family` by fontTools, as a font from elsewhere may be named, added to
// the program's fonts while this lives.
class FontNamed
{
public:
    explicit FontNamed(const QString &family)
        : m_id(QFontDatabase::addApplicationFontFromData(TestHelpers::runProgram(
              QStringLiteral("/usr/bin/python3"),
              {QStringLiteral("-c"),
               QStringLiteral("import io, sys\n"
                              "from fontTools.ttLib import TTFont\n"
                              "font = TTFont('/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf')\n"
                              "names = font['name']\n"
                              "for r in list(names.names):\n"
                              "    if r.nameID in (1, 4, 16):\n"
                              "        names.setName(sys.argv[1], r.nameID, r.platformID, r.platEncID, r.langID)\n"
                              "out = io.BytesIO()\n"
                              "font.save(out)\n"
                              "sys.stdout.buffer.write(out.getvalue())\n"),
               family})))
    {
    }
    ~FontNamed() { QFontDatabase::removeApplicationFont(m_id); }
    bool added(const QString &family) const { return QFontDatabase::applicationFontFamilies(m_id) == QStringList{family}; }

private:
    int m_id;
};

// Whether a read-only field shows its whole text: the text's width fits the field's text room.
bool showsWholeText(const QLineEdit *field)
{
    return field->fontMetrics().horizontalAdvance(field->text()) <= textRoom(field).width() - 4;
}

// Whether the text a field shows ends inside the part of the field that `viewport` shows.
bool textEndsInView(const QLineEdit *field, const QWidget *viewport)
{
    const int end = textRoom(field).left() + 2 + field->fontMetrics().horizontalAdvance(field->text());
    return field->mapTo(viewport, QPoint(end, 0)).x() <= viewport->width();
}

} // namespace

// The font fields (Text Style › Font and the card's Font for all texts) show the font's size
// whole, and its name whole or cut at its end with "…", at every width of the window and of the
// panel the editor allows: the smallest window, narrow ones, a small screen's and a large one,
// and the panel dragged to its narrowest. Where the settings column scrolls sideways, the text
// lies in view as the column opens and when it is scrolled to the field.
TEST_F(SettingsPanelShowing, TheTextFontFieldShowsTheWholeNameAndSizeAtEveryWidth)
{
    auto *splitter = m_window->findChild<QSplitter *>(QStringLiteral("main_splitter"));
    auto *column = m_window->findChild<QScrollArea *>(QStringLiteral("settings_scroll"));
    ASSERT_NE(splitter, nullptr);
    ASSERT_NE(column, nullptr);
    m_window->show();
    // A font installed from elsewhere may be named with markup: its name shows as those
    // characters, and the FIFO an <img> in it names is never opened.
    QTemporaryDir folder;
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    QList<CardFont> fonts = {CardFont(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 18),
                             CardFont(QStringLiteral("DejaVu Sans Condensed"), 12.5),
                             CardFont(QStringLiteral("Liberation Sans Narrow"), 48),
                             CardFont(QStringLiteral("Liberation Sans"), 144)};
    std::vector<std::unique_ptr<FontNamed>> received;
    for (const QString &markup : named.markup()) {
        received.push_back(std::make_unique<FontNamed>(markup));
        ASSERT_TRUE(received.back()->added(markup)) << markup.toStdString();
        fonts.append(CardFont(markup, 12));
    }
    for (const CardFont &font : std::as_const(fonts)) {
        for (const bool card : {false, true}) {
            QLineEdit *field = nullptr;
            if (card) {   // the card's font for all texts, chosen in the font dialog
                m_window->Show_RHS_Properties(nullptr);
                panel->ui.sett_tab->setCurrentWidget(panel->ui.card_setting_tab);
                m_seam.onDialog([&font](QDialog *dialog) {
                    auto *fonts = qobject_cast<QFontDialog *>(dialog);
                    if (!fonts)
                        return int(QDialog::Rejected);
                    fonts->setCurrentFont(font.toQFont());
                    fonts->accept();
                    return fonts->result();
                });
                panel->ui.All_Text_font_btn->click();
                field = panel->ui.All_Text_font_value;
            } else {
                GraphicPtr text = add(GraphicKind::Text);
                text->text_ctrl_font = font;
                select({text});
                panel->ui.sett_tab->setCurrentWidget(panel->text_prop_tab);
                field = panel->text_prop_tab->findChild<QLineEdit *>(QStringLiteral("Text_font_value"));
            }
            ASSERT_NE(field, nullptr);
            const CardFont chosen = card ? panel->All_Text_font : font;   // as the font dialog gave it
            const QString family = QFontInfo(chosen.toQFont()).family();
            const QString size = QStringLiteral(" ( %1 )").arg(chosen.pointSize, 0, 'f', 2);
            EXPECT_EQ(TestHelpers::shownToolTip(field, field->rect().center()).toStdString(), (family + size).toStdString());
            const auto readsWhole = [&] {
                const QString name = field->text().chopped(size.size());
                EXPECT_TRUE(field->text().endsWith(size)) << field->text().toStdString();
                EXPECT_TRUE(name == family || (name.endsWith(QChar(0x2026)) && family.startsWith(name.chopped(1))))
                    << field->text().toStdString();
            };
            for (const int width : {0, 560, 600, 650, 700, 1024, 1600}) {
                for (const bool narrowest : {false, true}) {
                    SCOPED_TRACE(QStringLiteral("%1 %2 at %3%4")
                                     .arg(card ? "card" : "text", family + size)
                                     .arg(width)
                                     .arg(narrowest ? ", panel narrowest" : "")
                                     .toStdString());
                    m_window->resize(std::max(width, m_window->minimumSizeHint().expandedTo(m_window->minimumSize()).width()), 700);
                    QCoreApplication::processEvents();
                    if (narrowest)
                        splitter->setSizes({splitter->width(), column->minimumWidth()});
                    QCoreApplication::processEvents();
                    ASSERT_TRUE(field->isVisible());
                    const QRect shown(column->viewport()->mapTo(m_window.get(), QPoint()), column->viewport()->size());
                    EXPECT_TRUE(m_window->rect().contains(shown));
                    // As the column opens, scrolled to its left edge, and scrolled back to the field's
                    // start from the column's right edge.
                    for (const bool scrolled : {false, true}) {
                        const QPoint at = field->mapTo(panel, QPoint());
                        column->ensureVisible(scrolled ? panel->width() : 0, at.y(), 0, 0);
                        QCoreApplication::processEvents();
                        column->ensureVisible(scrolled ? at.x() : 0, at.y(), 0, 0);
                        QCoreApplication::processEvents();
                        EXPECT_GE(field->mapTo(column->viewport(), QPoint()).x(), 0) << scrolled;
                        EXPECT_TRUE(textEndsInView(field, column->viewport())) << scrolled << " " << field->text().toStdString();
                        EXPECT_TRUE(showsWholeText(field)) << field->width();
                        readsWhole();
                    }
                }
            }
        }
    }
    EXPECT_EQ(named.fifoOpened(), 0);
}
