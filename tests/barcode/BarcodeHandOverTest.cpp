// Opening the designer from the editor window and handing its result to the card.

#include "editor/EditorWindowFixture.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeGlobals.h"
#include "barcode/BarcodeLists.h"
#include "barcode/ui/BarcodeHandOver.h"
#include "barcode/ui/Barcode_Gen.h"
#include "document/DocumentGlobals.h"
#include "document/LMNBarcode.h"
#include "document/LMNGraphicArchive.h"
#include "document/LMNText.h"
#include "document/ui/LMNGraphicView.h"
#include "document/PaintStyles.h"
#include "editor/DesignFile.h"
#include "editor/ui/DesignFileCommands.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/SettingsPanel.h"

#include <QCheckBox>
#include <QUndoStack>

namespace {

class BarcodeHandOverTest : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();
        m_window->Select_back_side();
        back = m_window->_graphicView_BACK;
        for (int i = 0; i < 2; ++i) {
            auto barcode = std::make_shared<LMNBarcode>();
            barcode->setBounds(QRectF(20 + 150 * i, 20, 120, 60));
            barcode->print_object = 0;
            barcodes.append(barcode);
            back->graphics().prepend(barcode);
        }
        text = std::make_shared<LMNText>();
        text->setBounds(QRectF(20, 120, 100, 30));
        back->graphics().prepend(text);
        front = std::make_shared<LMNBarcode>();
        m_window->_graphicView->graphics().prepend(front);
        m_window->_graphicView->selectGraphics({front});
        back->selectGraphics({barcodes[0], barcodes[1], text});
        back->_Selected_Graphic = barcodes[1];
        // The settings panel's print box (the panel may not carry one yet).
        printBox = m_window->settingsPanel()->findChild<QCheckBox *>(QStringLiteral("print_object_chk"));
        if (!printBox)
            printBox = new QCheckBox(m_window->settingsPanel());
        printBox->setObjectName(QStringLiteral("print_object_chk"));
        printBox->setChecked(true);
    }

    // Opens the designer as a double click does; `answer` works it.
    void openDesigner(const std::function<void(Barcode_Gen &)> &answer)
    {
        m_seam.onDialog([answer](QDialog *dialog) {
            auto *gen = qobject_cast<Barcode_Gen *>(dialog);
            EXPECT_NE(gen, nullptr);
            gen->setResult(-1);
            answer(*gen);
            return gen->result();
        });
        m_window->Open_Barcode_Window();
    }

    LMNGraphicView *back = nullptr;
    GraphicList barcodes;
    GraphicPtr text;
    GraphicPtr front;
    QCheckBox *printBox = nullptr;
};

} // namespace

TEST_F(BarcodeHandOverTest, OkGivesEverySelectedBarcodeTheSettingsAndPicture)
{
    const BarcodeElementSettings textBefore = BarcodeElementSettings::fromGraphic(*text);
    const int qr = int(BarcodeLists::symbologyTitles().indexOf(QStringLiteral("QR Code")));
    openDesigner([&](Barcode_Gen &gen) {
        gen.ui.barcodeTypePopup->setCurrentIndex(qr);
        gen.ui.dataText_2D->setPlainText(QStringLiteral("table 9"));
        gen.ui.align_ftr_combo->setCurrentIndex(2);
        QTest::mouseClick(gen.ui.ok_btn, Qt::LeftButton);
    });
    ASSERT_EQ(m_seam.dialogsRun.size(), 2); // the start screen, then the designer
    const BarcodeElementSettings handed = BarcodeElementSettings::fromGraphic(*barcodes[1]);
    EXPECT_EQ(handed.two_d_font_val, QStringLiteral("table 9"));
    EXPECT_EQ(handed.align_ftr_index, 2);
    EXPECT_EQ(BarcodeElementSettings::fromGraphic(*barcodes[0]), handed);
    EXPECT_FALSE(barcodes[0]->_barcode_image.isNull());
    EXPECT_EQ(barcodes[0]->_barcode_image, barcodes[1]->_barcode_image);
    for (const GraphicPtr &b : barcodes)
        EXPECT_EQ(b->print_object, 1);
    // Other kinds and the other side keep what they had.
    EXPECT_EQ(BarcodeElementSettings::fromGraphic(*text), textBefore);
    EXPECT_EQ(text->print_object, 0);
    EXPECT_TRUE(text->_barcode_image.isNull());
    EXPECT_TRUE(BarcodeElementSettings::isNeverDesigned(*front));
    EXPECT_TRUE(front->_barcode_image.isNull());

    // Saved and read back, the element opens to the very same picture.
    CardDesign design;
    design.graphics_back = back->graphics();
    QString error;
    const auto read = DesignFile::fromXml(DesignFile::toXml(design), &error);
    ASSERT_TRUE(read) << error.toStdString();
    GraphicPtr reread;
    for (const GraphicPtr &g : read->graphics_back)
        if (g->kind() == GraphicKind::Barcode && !reread)
            reread = g;
    ASSERT_TRUE(reread);
    EXPECT_EQ(BarcodeElementSettings::fromGraphic(*reread), handed);
    m_seam.onDialog([](QDialog *dialog) {
        QTest::mouseClick(qobject_cast<Barcode_Gen *>(dialog)->ui.ok_btn, Qt::LeftButton);
        return dialog->result();
    });
    Barcode_Gen::defaultInstance()->Open_Wnd(reread.get());
    EXPECT_EQ(Barcode_output_image, barcodes[1]->_barcode_image);
}

TEST_F(BarcodeHandOverTest, CancelGuardAndWrongPlacesChangeNothing)
{
    // Opened with the settings panel's button, then cancelled.
    m_window->Show_RHS_Properties(barcodes[1]);
    QPushButton *button = m_window->settingsPanel()->ui.View_barcode_prop_Button;
    ASSERT_TRUE(button->isEnabled());
    m_seam.onDialog([](QDialog *dialog) {
        auto *gen = qobject_cast<Barcode_Gen *>(dialog);
        EXPECT_NE(gen, nullptr);
        if (!gen)
            return 0;
        gen->ui.dataText->setText(QStringLiteral("ABANDONED"));
        QTest::mouseClick(gen->ui.cancel_btn, Qt::LeftButton);
        return gen->result();
    });
    button->click();
    for (const GraphicPtr &b : barcodes) {
        EXPECT_TRUE(BarcodeElementSettings::isNeverDesigned(*b));
        EXPECT_TRUE(b->_barcode_image.isNull());
        EXPECT_EQ(b->print_object, 0);
    }

    // While the loading guard is set the hand-over does nothing.
    LMNBarcode source;
    BarcodeElementSettings{}.applyTo(source);
    Barcode_output_image = QImage(4, 4, QImage::Format_RGB32);
    Not_Draw_Only_Prop_Change = true;
    BarcodeHandOver::Update_Barcode_Graphics(*m_window, m_window->canvasInWork(), source);
    Not_Draw_Only_Prop_Change = false;
    EXPECT_TRUE(BarcodeElementSettings::isNeverDesigned(*barcodes[0]));
    Barcode_output_image = QImage();

    // No designer without a primary barcode, nor from the working side.
    const qsizetype runs = m_seam.dialogsRun.size();
    back->_Selected_Graphic = text;
    m_window->Open_Barcode_Window();
    back->_Selected_Graphic = nullptr;
    m_window->Open_Barcode_Window();
    back->_Selected_Graphic = barcodes[0];
    m_window->Select_temp_design_side();
    m_window->Open_Barcode_Window();
    EXPECT_EQ(m_seam.dialogsRun.size(), runs);
}

TEST_F(BarcodeHandOverTest, APictureTooLargeForTheCardIsRefusedAndOneThatFitsIsMovedOntoIt)
{
    const QSizeF card = back->canvasSize();
    back->selectGraphics({barcodes[1]});
    back->_Selected_Graphic = barcodes[1];
    barcodes[1]->setBounds(QRectF(card.width() - 10, card.height() - 10, 120, 60));
    const QByteArray before = LMNGraphicArchive::encodeList(back->graphics(), true);
    QUndoStack *history = m_document.undoManager();
    const int steps = history->count();

    // Forty characters of Code 39 are far wider than any card, and so is a QR Code of 2000
    // points: refused with what shrinks that symbology, and the designer comes back with what
    // was set.
    struct TooLarge
    {
        const char *title;
        std::function<void(Barcode_Gen &)> set;
        const char *shrinks;
        std::function<bool(Barcode_Gen &)> kept;
    };
    const QString tooLong(40, QLatin1Char('A'));
    for (const TooLarge &row : {TooLarge{"Code 39", [&](Barcode_Gen &gen) { gen.ui.dataText->setText(tooLong); },
                                         "a shorter value, narrower bars, lower bars or smaller margins.",
                                         [&](Barcode_Gen &gen) { return gen.ui.dataText->text() == tooLong; }},
                                TooLarge{"QR Code",
                                         [](Barcode_Gen &gen) {
                                             gen.ui.DPI_ComboBox->setCurrentText(QStringLiteral("72"));
                                             gen.ui.HeightStepper_2D->setValue(2000);
                                         },
                                         "a smaller size or smaller margins.",
                                         [](Barcode_Gen &gen) { return gen.ui.HeightStepper_2D->value() == 2000; }}}) {
        SCOPED_TRACE(row.title);
        const int index = int(BarcodeLists::symbologyTitles().indexOf(QLatin1String(row.title)));
        m_seam.onDialog([&](QDialog *dialog) {
            auto *gen = qobject_cast<Barcode_Gen *>(dialog);
            gen->ui.barcodeTypePopup->setCurrentIndex(index);
            row.set(*gen);
            QTest::mouseClick(gen->ui.ok_btn, Qt::LeftButton);
            return gen->result();
        });
        openDesigner([&](Barcode_Gen &gen) {
            EXPECT_EQ(gen.ui.barcodeTypePopup->currentIndex(), index);
            EXPECT_TRUE(row.kept(gen));
            QTest::mouseClick(gen.ui.cancel_btn, Qt::LeftButton);
        });
        ASSERT_FALSE(m_seam.messages.isEmpty());
        const QString message = m_seam.messages.last().text;
        EXPECT_TRUE(message.contains(QStringLiteral("does not fit on the card"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QLatin1String(row.shrinks))) << message.toStdString();
        EXPECT_EQ(LMNGraphicArchive::encodeList(back->graphics(), true), before);
        EXPECT_EQ(history->count(), steps);
    }

    // One that fits is moved in from the corner, as one step that undo takes back whole.
    openDesigner([](Barcode_Gen &gen) { QTest::mouseClick(gen.ui.ok_btn, Qt::LeftButton); });
    const QRectF placed = barcodes[1]->bounds();
    EXPECT_EQ(placed.size(), PaintStyles::pictureSizeInPoints(barcodes[1]->_barcode_image));
    EXPECT_TRUE(placed.left() >= 0 && placed.top() >= 0 && placed.right() <= card.width() + 1e-9
                && placed.bottom() <= card.height() + 1e-9)
        << placed.x() << "," << placed.y() << " " << placed.width() << "x" << placed.height();
    EXPECT_EQ(history->count(), steps + 1);
    history->undo();
    EXPECT_EQ(LMNGraphicArchive::encodeList(back->graphics(), true), before);
}

TEST_F(BarcodeHandOverTest, ANewBarcodeShowsThePictureTheDesignerOpensWith)
{
    auto fresh = std::make_shared<LMNBarcode>();
    back->graphics() = {barcodes[1]};
    back->selectGraphics({barcodes[1]});
    back->_Selected_Graphic = barcodes[1];
    openDesigner([](Barcode_Gen &gen) { QTest::mouseClick(gen.ui.ok_btn, Qt::LeftButton); });   // nothing changed
    ASSERT_FALSE(barcodes[1]->_barcode_image.isNull());
    barcodes[1]->print_object = fresh->print_object = 0;   // both printed
    const QImage designed = m_window->files()->renderSide(1);
    fresh->setBounds(barcodes[1]->bounds());
    back->graphics() = {fresh};
    EXPECT_EQ(m_window->files()->renderSide(1), designed);
}
