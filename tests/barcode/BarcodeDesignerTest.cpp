// The barcode designer through its real widgets, the modal run answered by the scripted seam;
// pictures read back with ZXing.

#include "barcode/BarcodeElementSettings.h"
#include "barcode/generator/BarcodeDevicePainter.h"
#include "barcode/generator/BarcodeGenerator.h"
#include "barcode/BarcodeGlobals.h"
#include "barcode/BarcodeLists.h"
#include "barcode/BarcodeText.h"
#include "barcode/BarcodeUnits.h"
#include "barcode/ui/Barcode_Gen.h"
#include "data/CardRecordRenderer.h"
#include "data/DataSeries.h"
#include "data/SpreadsheetTable.h"
#include "document/DocumentGlobals.h"
#include "document/LMNBarcode.h"
#include "document/LMNGraphicArchive.h"
#include "document/LMNGraphicField.h"
#include "editor/DesignFile.h"
#include "data/DataTestSupport.h"

#include "barcode/linear/LinearTestSupport.h"
#include "ModuleGridTestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QFontDialog>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <variant>

namespace {

class BarcodeDesigner : public DataTest::DataFolderTest
{
protected:
    void SetUp() override
    {
        DataFolderTest::SetUp();
        designer = Barcode_Gen::defaultInstance();
        Barcode_output_image = QImage();
    }

    // Opens the designer on `element`; `answer` works the controls and ends the run.
    LMNGraphic *run(LMNGraphic &element, const std::function<void(Barcode_Gen &)> &answer)
    {
        m_seam.onDialog([answer](QDialog *dialog) {
            auto *gen = qobject_cast<Barcode_Gen *>(dialog);
            EXPECT_NE(gen, nullptr);
            gen->setResult(-1);
            gen->show();
            answer(*gen);
            gen->hide();
            return gen->result();
        });
        return designer->Open_Wnd(&element);
    }

    // Clicks a button as the user does, bringing its settings tab to the front first.
    static void click(QAbstractButton *button)
    {
        for (QWidget *w = button; w && w->parentWidget(); w = w->parentWidget()) {
            if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget()->parentWidget()); tabs && tabs->indexOf(w) >= 0)
                tabs->setCurrentWidget(w);
        }
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static void type(Barcode_Gen &gen, int titleIndex, const QString &value)
    {
        gen.ui.barcodeTypePopup->setCurrentIndex(titleIndex);
        if (gen.liner_or_2D_font)
            gen.ui.dataText_2D->setPlainText(value);
        else
            gen.ui.dataText->setText(value);
    }
    static int indexOf(const char *title) { return int(BarcodeLists::symbologyTitles().indexOf(QLatin1String(title))); }

    Barcode_Gen *designer = nullptr;
};

// A fully designed element: every barcode field away from the start values.
BarcodeElementSettings everyFieldSet()
{
    BarcodeElementSettings s;
    s.barcode_font_index = BarcodeLists::symbologyTitles().indexOf(QStringLiteral("Code 128"));
    s.linear_font_val = QStringLiteral("PARTY-2026");
    s.two_d_font_val = QStringLiteral("two d value");
    s.header_val = QStringLiteral("Welcome");
    s.footer_val = QStringLiteral("Table 12");
    s.show_hide_ftr = 1;
    s.show_val_on_top = 1;
    s.align_hdr_index = 0;
    s.align_ftr_index = 2;
    s.linear_height_val = 1.5f;
    s.linear_width_val = 15.0f;
    s.qr_size_val = 90;
    s.qr_version_index = 6;
    s.qr_ec_index = 3;
    s.pdf_hgt_val = 70;
    s.pdf_wdt_val = 220;
    s.pdf_ec_val = 4;
    s.dm_module_val = 3;
    s.dm_format_index = 5;
    s.dm_encoding_index = 2;
    s.hdr_margin_val = 0.2f;
    s.ftr_margin_val = 0.3f;
    s.val_margin_val = 0.15f;
    s.TB_marging_val = 0.25f;
    s.LR_margin_val = 0.35f;
    s.value_font_val = CardFont(QStringLiteral("ArialMT"), 9);
    s.header_font_val = CardFont(QStringLiteral("Arial-BoldMT"), 12);
    s.footer_font_val = CardFont(QStringLiteral("TimesNewRomanPS-ItalicMT"), 11);
    s.barcode_hdr_clr_val = QColor(200, 0, 0);
    s.barcode_ftr_clr_val = QColor(0, 120, 0);
    s.barcode_val_clr_val = QColor(0, 0, 160);
    s.barcode_back_clr_val = QColor(255, 250, 235);
    s.barcode_clr_val = QColor(20, 20, 20);
    s.dpi_val_index = 6;
    s.dpi_custom_val = QStringLiteral("450");
    s.kerning_value_val = 1;
    return s;
}

std::string readLinear(const QImage &picture, ZXing::BarcodeFormat format, bool extended)
{
    return BarcodeReader::readOn(picture, format, 100, Qt::white, {.tryHarder = true, .code39Extended = extended}).text;
}

} // namespace

TEST_F(BarcodeDesigner, EveryTitleTypedAndConfirmedReadsBack)
{
    using F = ZXing::BarcodeFormat;
    struct Case
    {
        const char *title;
        const char *value;
        F format;            // None: compared with the engine's own picture
        const char *expected;
    };
    const Case cases[] = {
        {"Code 39", "CARD-42", F::Code39, "CARD-42"},
        {"Extended Code 39", "Card+42", F::Code39, "Card+42"},
        {"Interleaved 2 of 5", "12345678", F::ITF, "12345678"},
        {"UPCA", "03600029145", F::UPCA, "036000291452"},
        {"PostNet", "12345", F::None, ""},
        {"Modified Plessey", "12345", F::None, ""},
        {"Modified Plessey (Hex)", "12AB", F::None, ""},
        {"Industrial 2 of 5", "1234", F::None, ""},
        {"EAN-13", "400638133393", F::EAN13, "4006381333931"},
        {"Code 128", "Festiloom 2026", F::Code128, "Festiloom 2026"},
        {"Code 128 SET A", "CARD 42", F::Code128, "CARD 42"},
        {"Code 128 SET B", "Card 42", F::Code128, "Card 42"},
        {"Code 128 SET C", "123456", F::Code128, "123456"},
        {"Codabar", "A40156B", F::Codabar, "40156"},
        {"UPCE", "0425261", F::UPCE, "04252614"},
        {"EAN-8", "9638507", F::EAN8, "96385074"},
        {"Royal Mail Barcode (RM4SCC / CBC)", "SN34RD1A", F::None, ""},
        {"Planet", "12345678901", F::None, ""},
        {"Japan Post Barcode", "1060043", F::None, ""},
        {"QR Code", "Guest list: Ann, Bo & Zoë", F::QRCode, "Guest list: Ann, Bo & Zoë"},
        {"PDF417", "Table 7 / Seat 3", F::PDF417, "Table 7 / Seat 3"},
        {"DataMatrix", "RSVP-2026-0042", F::DataMatrix, "RSVP-2026-0042"},
    };
    ASSERT_EQ(std::size(cases), std::size_t(BarcodeLists::symbologyTitles().size()));
    for (const Case &c : cases) {
        LMNBarcode element;
        ASSERT_EQ(run(element, [&](Barcode_Gen &gen) {
                      type(gen, indexOf(c.title), QString::fromUtf8(c.value));
                      click(gen.ui.ok_btn);
                  }),
                  &element)
            << c.title;
        const QImage picture = Barcode_output_image;
        ASSERT_FALSE(picture.isNull()) << c.title;
        const BarcodeElementSettings stored = BarcodeElementSettings::fromGraphic(element);
        EXPECT_EQ(stored.title(), QLatin1String(c.title));
        if (c.format == F::None) {
            EXPECT_EQ(picture, BarcodeGenerator::picture(stored)) << c.title;
        } else if (stored.isTwoDimensional()) {
            EXPECT_EQ(ModuleGridTestSupport::decodePicture(picture, c.format, 40).text, c.expected) << c.title;
        } else {
            EXPECT_EQ(readLinear(picture, c.format, c.format == F::Code39 && c.value[1] == 'a'), c.expected) << c.title;
        }
    }
}

TEST_F(BarcodeDesigner, CustomResolutionScalesTheTwoDPicture)
{
    LMNBarcode element;
    QSizeF pointsAt600;
    run(element, [&](Barcode_Gen &gen) {
        type(gen, indexOf("QR Code"), QStringLiteral("resolution"));
        pointsAt600 = BarcodeUnits::pointSize(gen.currentPicture());
        EXPECT_GE(gen.ui.sett_tab->indexOf(gen.ui.dpi_tab_item), 0);
        gen.ui.DPI_ComboBox->setCurrentText(QStringLiteral("Custom"));
        EXPECT_FALSE(gen.ui.dpi_Stepper->isHidden());
        gen.ui.dpi_Stepper->setValue(300);
        EXPECT_EQ(gen.currentPicture().dotsPerMeterX(), qRound(300 / 0.0254));
        click(gen.ui.ok_btn);
    });
    const QImage picture = Barcode_output_image;
    EXPECT_EQ(picture.dotsPerMeterX(), qRound(300 / 0.0254));
    EXPECT_NEAR(BarcodeUnits::pointSize(picture).width(), pointsAt600.width(), 0.3);
    EXPECT_EQ(element.dpi_custom_val, QStringLiteral("300"));
}

// Opening and confirming changes no field; a saved and reopened design gives the same pixels.
TEST_F(BarcodeDesigner, UntouchedOkKeepsEveryFieldAndThePixels)
{
    for (const char *title : {"Code 128", "PDF417"}) {
        BarcodeElementSettings designed = everyFieldSet();
        designed.barcode_font_index = indexOf(title);
        designed.linear_or_2d = designed.isTwoDimensional() ? 1 : 0;
        LMNBarcode element;
        designed.applyTo(element);
        run(element, [&](Barcode_Gen &gen) {
            EXPECT_TRUE(gen.ui.barcode_error_label->isHidden()) << gen.ui.barcode_error_label->text().toStdString();
            EXPECT_TRUE(gen.ui.kerning_value_Checkbox->isChecked()) << title;
            click(gen.ui.ok_btn);
        });
        EXPECT_EQ(BarcodeElementSettings::fromGraphic(element), designed) << title;
        const QImage first = Barcode_output_image;
        ASSERT_FALSE(first.isNull());

        // Reopening regenerates the very same picture from the stored settings.
        run(element, [&](Barcode_Gen &gen) { click(gen.ui.ok_btn); });
        EXPECT_EQ(Barcode_output_image, first) << title;
    }
}

TEST_F(BarcodeDesigner, CancelChangesNothingAndBadValuesKeepTheDialogOpen)
{
    DataSeries::writeValues(QStringLiteral("Guests"), {QStringLiteral("GUEST-1"), QStringLiteral("GUEST-2")},
                            DataSeries::WriteMode::Replace);
    BarcodeElementSettings designed = everyFieldSet();
    LMNBarcode element;
    designed.applyTo(element);
    element.Set_Barcode_image(QImage(10, 10, QImage::Format_RGB32));
    const QImage before = element._barcode_image;
    EXPECT_EQ(run(element, [&](Barcode_Gen &gen) {
                  gen.ui.dataText->setText(QStringLiteral("CHANGED"));
                  gen.ui.Data_source_type->setCurrentIndex(1);
                  gen.ui.Batch_Series->setCurrentText(QStringLiteral("Guests"));
                  EXPECT_EQ(gen.ui.dataText->text(), QStringLiteral("GUEST-1"));
                  click(gen.ui.cancel_btn);
              }),
              nullptr);
    EXPECT_EQ(BarcodeElementSettings::fromGraphic(element), designed);
    EXPECT_EQ(element.data_source_type, 0);
    EXPECT_TRUE(element.batch_list_name.isEmpty());
    EXPECT_EQ(element._barcode_image, before);
    EXPECT_TRUE(Barcode_output_image.isNull());

    struct Refused
    {
        const char *title;
        QString value;
    };
    for (const Refused &r : {Refused{"Code 128", QString()}, Refused{"Code 39", QStringLiteral("Zoë")},
                             Refused{"EAN-13", QStringLiteral("12AB")}, Refused{"QR Code", QString(5000, u'x')}}) {
        run(element, [&](Barcode_Gen &gen) {
            type(gen, indexOf(r.title), r.value);
            click(gen.ui.ok_btn);
            EXPECT_EQ(gen.result(), -1) << r.title;
            EXPECT_TRUE(gen.currentPicture().isNull());
            EXPECT_FALSE(gen.ui.barcode_error_label->isHidden());
            EXPECT_FALSE(gen.ui.barcode_error_label->text().isEmpty());
            click(gen.ui.cancel_btn);
        });
        EXPECT_EQ(BarcodeElementSettings::fromGraphic(element), designed) << r.title;
    }
    EXPECT_TRUE(m_seam.messageTexts().isEmpty());
}

TEST_F(BarcodeDesigner, SeriesBindingIsWrittenOnOkOnly)
{
    LMNBarcode element;
    // No series yet: the source goes back to a typed value that stays editable.
    run(element, [&](Barcode_Gen &gen) {
        gen.ui.Data_source_type->setCurrentIndex(1);
        EXPECT_EQ(gen.ui.Data_source_type->currentIndex(), 0);
        EXPECT_FALSE(gen.ui.dataText->isReadOnly());
        click(gen.ui.cancel_btn);
    });
    EXPECT_EQ(m_seam.messageTexts(), QStringList{QStringLiteral("\nPlease create batch processing series first.")});

    DataSeries::writeValues(QStringLiteral("Seats"), {QStringLiteral("SEAT-7"), QStringLiteral("SEAT-8")},
                            DataSeries::WriteMode::Replace);
    run(element, [&](Barcode_Gen &gen) {
        gen.ui.Data_source_type->setCurrentIndex(1);
        EXPECT_TRUE(gen.ui.dataText->isReadOnly());
        gen.ui.Batch_Series->setCurrentText(QStringLiteral("Seats"));
        EXPECT_EQ(element.data_source_type, 0); // not yet
        click(gen.ui.ok_btn);
    });
    EXPECT_EQ(element.data_source_type, 1);
    EXPECT_EQ(element.batch_list_name, QStringLiteral("Seats"));
    EXPECT_EQ(element.linear_font_val, QStringLiteral("SEAT-7"));
    EXPECT_EQ(readLinear(Barcode_output_image, ZXing::BarcodeFormat::Code39, false), "SEAT-7");

    // A spreadsheet column binds by its index and shows the column's first value.
    const bool keptUse = Excel_Binding_Use;
    SpreadsheetTable &table = SpreadsheetTable::live();
    table = SpreadsheetTable{};
    table.titles = {QStringLiteral("Row"), QStringLiteral("Guest"), QStringLiteral("Ticket")};
    table.appendRecord({QStringLiteral("Ann"), QStringLiteral("TICKET-11")}, 2);
    table.appendRecord({QStringLiteral("Bo"), QStringLiteral("TICKET-12")}, 2);
    Excel_Binding_Use = true;
    run(element, [&](Barcode_Gen &gen) {
        gen.ui.Data_source_type->setCurrentIndex(2);
        EXPECT_EQ(gen.ui.Batch_Series->count(), 3);
        gen.ui.Batch_Series->setCurrentIndex(2);
        EXPECT_EQ(gen.ui.dataText->text(), QStringLiteral("TICKET-11"));
        click(gen.ui.ok_btn);
    });
    Excel_Binding_Use = keptUse;
    EXPECT_EQ(element.data_source_type, 2);
    EXPECT_EQ(element.excel_col_indx, 2);
    EXPECT_EQ(element.linear_font_val, QStringLiteral("TICKET-11"));
}

TEST_F(BarcodeDesigner, ControlsFollowTheSymbologyAndSizeRules)
{
    LMNBarcode element;
    EXPECT_TRUE(BarcodeElementSettings::isNeverDesigned(element));
    run(element, [&](Barcode_Gen &gen) {
        // A barcode never designed starts from the start values.
        EXPECT_EQ(gen.ui.dataText->text(), QStringLiteral("0123"));
        EXPECT_EQ(gen.ui.HeaderText->text(), QStringLiteral("HEADER"));
        EXPECT_EQ(gen.ui.HeightStepper_2D->value(), 60);
        EXPECT_DOUBLE_EQ(gen.ui.TB_mar_Stepper->value(), 0.1);

        struct Mode
        {
            const char *title;
            bool resolutionTab;
            QGroupBox *box;
            bool kerning;
        };
        for (const Mode &m : {Mode{"EAN-13", false, gen.ui.linear_sett_box, false},
                              Mode{"Code 128", false, gen.ui.linear_sett_box, true},
                              Mode{"QR Code", true, gen.ui.two_d_sett_box, false},
                              Mode{"PDF417", true, gen.ui.pdf_2d_sett_box, false},
                              Mode{"DataMatrix", true, gen.ui.dm_2d_sett_box, false},
                              Mode{"UPCE", false, gen.ui.linear_sett_box, false}}) {
            gen.ui.barcodeTypePopup->setCurrentIndex(indexOf(m.title));
            EXPECT_EQ(gen.ui.sett_tab->indexOf(gen.ui.dpi_tab_item) == 3, m.resolutionTab) << m.title;
            EXPECT_EQ(gen.ui.sett_tab->count(), m.resolutionTab ? 4 : 3);
            EXPECT_FALSE(m.box->isHidden()) << m.title;
            if (!m.resolutionTab) {
                EXPECT_EQ(gen.ui.kerning_value_Checkbox->isEnabled(), m.kerning) << m.title;
            }
        }

        // DataMatrix "C16X48" at module 2 raises the fields to 96 x 32 and never lowers them.
        gen.ui.barcodeTypePopup->setCurrentIndex(indexOf("DataMatrix"));
        gen.ui.dm_moduleStepper_2D->setValue(2);
        gen.ui.dm_widthStepper_2D->setValue(40);
        gen.ui.dm_HeightStepper_2D->setValue(500);
        gen.ui.dm_format_ComboBox->setCurrentText(QStringLiteral("C16X48"));
        EXPECT_EQ(gen.ui.dm_widthStepper_2D->value(), 96);
        EXPECT_EQ(gen.ui.dm_HeightStepper_2D->value(), 500);

        // QR version 5 needs 37 points at least.
        gen.ui.barcodeTypePopup->setCurrentIndex(indexOf("QR Code"));
        gen.ui.HeightStepper_2D->setValue(30);
        gen.ui.qr_version_ComboBox->setCurrentIndex(5);
        EXPECT_EQ(gen.ui.HeightStepper_2D->value(), 37);

        // 1 cm of bars, the caption band (1.35 x cap height), value and top-bottom margins of
        // 0.1 cm, no header or footer: with a cap height of 7 points 28.35 + 9.45 + 2.83 +
        // 2 x 2.83 = 46.30 points.
        gen.ui.barcodeTypePopup->setCurrentIndex(indexOf("Code 128"));
        gen.ui.hideHeaderCheckbox->setChecked(true);
        gen.ui.hideFooterCheckbox->setChecked(true);
        gen.ui.HeightStepper->setValue(1.0);
        ASSERT_TRUE(gen.testBarcode) << gen.ui.barcode_error_label->text().toStdString();
        const double u = 0.393701 * 72.0;
        const double cap = BarcodeText::capHeight(gen.value_font);
        EXPECT_NEAR(gen.testBarcode->height(), u + 1.35 * cap + 0.1 * u + 2 * 0.1 * u, 0.01);
        click(gen.ui.cancel_btn);
    });
}

TEST_F(BarcodeDesigner, FontsAndHelpGoThroughTheSeam)
{
    LMNBarcode element;
    run(element, [&](Barcode_Gen &gen) {
        m_seam.onDialog([](QDialog *dialog) {
            auto *fonts = qobject_cast<QFontDialog *>(dialog);
            EXPECT_NE(fonts, nullptr);
            fonts->setCurrentFont(CardFont(QStringLiteral("ArialMT"), 18).toQFont());
            return int(QDialog::Accepted);
        });
        click(gen.ui.hdr_font_btn);
        EXPECT_EQ(gen.ui.header_font_value->text(), QStringLiteral("%1 ( 18.00 )").arg(gen.header_font.toQFont().family()));
        m_seam.onDialog([](QDialog *) { return int(QDialog::Accepted); });
        gen.ui.barcodeTypePopup->setCurrentIndex(indexOf("QR Code"));
        click(gen.ui.qr_version_help_btn);
        EXPECT_EQ(Cutom_Msg_Title, QStringLiteral("Version :"));
        click(gen.ui.ok_btn);
    });
    EXPECT_EQ(element.header_font_val.pointSize, 18);
}

TEST_F(BarcodeDesigner, SavingAPictureIsAllOrNothing)
{
    const QString file = DataTest::writeFile(path(QStringLiteral("barcode.png")), "keep me");
    QString error;
    EXPECT_FALSE(Barcode_Gen::Save_Barcode_image(QImage(), file, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(DataTest::readFile(file), QByteArray("keep me"));
    const QImage picture = BarcodeGenerator::picture(BarcodeElementSettings{}, QStringLiteral("0123"), {}, {});
    EXPECT_FALSE(Barcode_Gen::Save_Barcode_image(picture, path(QStringLiteral("missing/b.png")), &error));
    ASSERT_TRUE(Barcode_Gen::Save_Barcode_image(picture, file, &error)) << error.toStdString();
    const QImage read(file);
    EXPECT_EQ(read.size(), picture.size());
    EXPECT_EQ(read.dotsPerMeterX(), picture.dotsPerMeterX());
}

// The preview stands where Preview Alignment says from the first time a designer is opened
// (before it was ever shown, its viewport had no size yet), and after the window is resized.
TEST_F(BarcodeDesigner, ThePreviewFollowsItsAlignmentFromTheFirstOpening)
{
    struct Row
    {
        const char *alignment;
        Qt::Alignment expected;
    };
    const QList<Row> rows = {
        {"Center", Qt::AlignCenter},
        {"BottomRight", Qt::AlignBottom | Qt::AlignRight},
        {"TopLeft", Qt::AlignTop | Qt::AlignLeft},
        {"Right", Qt::AlignRight | Qt::AlignVCenter},
    };
    // Where the dark bars lie in the viewport, and whether they stand as `expected` says.
    auto check = [](Barcode_Gen &gen, Qt::Alignment expected) {
        QWidget *viewport = gen.ui.image_scroll->viewport();
        const QImage shown = viewport->grab().toImage();
        QRect bars;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (qGray(shown.pixel(x, y)) < 80)
                    bars |= QRect(x, y, 1, 1);
        ASSERT_FALSE(bars.isEmpty());
        const QRect room = viewport->rect();
        const QPoint gap(bars.left() - room.left(), room.right() - bars.right());
        const QPoint vgap(bars.top() - room.top(), room.bottom() - bars.bottom());
        // The picture's own quiet zone lies between its bars and the edge it stands against.
        if (expected & Qt::AlignHCenter) {
            EXPECT_NEAR(gap.x(), gap.y(), 12);
        } else if (expected & Qt::AlignRight) {
            EXPECT_LT(gap.y() + 100, gap.x());
        } else {
            EXPECT_LT(gap.x() + 100, gap.y());
        }
        if (expected & Qt::AlignVCenter) {
            EXPECT_NEAR(vgap.x(), vgap.y(), 12);
        } else if (expected & Qt::AlignBottom) {
            EXPECT_LT(vgap.y() + 100, vgap.x());
        } else {
            EXPECT_LT(vgap.x() + 100, vgap.y());
        }
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.alignment);
        Barcode_Gen fresh;   // never shown yet
        fresh.ui.bar_align_combo->setCurrentText(QLatin1String(row.alignment));
        LMNBarcode element;
        m_seam.onDialog([&](QDialog *dialog) {
            dialog->resize(900, 620);
            dialog->show();
            QCoreApplication::processEvents();
            check(fresh, row.expected);
            dialog->resize(1000, 700);
            QCoreApplication::processEvents();
            check(fresh, row.expected);
            return int(QDialog::Rejected);
        });
        fresh.Open_Wnd(&element);
    }
}

namespace {

using FieldValue = std::variant<int, float, QString, QColor, CardFont>;

// Sets the element's field through the element's own field table; false when the value's type
// is not the field's.
bool setField(LMNGraphic &element, const LMNGraphicField &field, const FieldValue &value)
{
    return std::visit(
        [&element, &value](auto member) {
            using T = std::remove_reference_t<decltype(element.*member)>;
            if constexpr (std::is_same_v<T, int> || std::is_same_v<T, float> || std::is_same_v<T, QString>
                          || std::is_same_v<T, QColor> || std::is_same_v<T, CardFont>) {
                if (const T *typed = std::get_if<T>(&value)) {
                    element.*member = *typed;
                    return true;
                }
            }
            return false;
        },
        field.member);
}

bool sameField(const LMNGraphic &a, const LMNGraphic &b, const LMNGraphicField &field)
{
    return std::visit([&](auto member) { return a.*member == b.*member; }, field.member);
}

// The card of one element as export draws it at 300 dpi.
QImage exported(const LMNGraphic &element)
{
    CardSnapshot snapshot;
    snapshot.cardSize = QSizeF(400, 300);
    snapshot.front << element.clone();
    snapshot.drawContext.drawBarcode = &BarcodeDevicePainter::draw;
    return CardRecordRenderer(snapshot).cardImage(0, 0, 0, 300.0);
}

} // namespace

// Every barcode field the element stores, walked from the element's own field table: changed
// alone, it reaches the settings the designer and the outputs are made from, the designer's
// picture and the exported card; or its row says why it is not drawn.
TEST_F(BarcodeDesigner, EveryStoredBarcodeFieldReachesTheDesignerAndTheExportedCard)
{
    struct Row
    {
        const char *field;
        const char *title;
        FieldValue changed;
        const char *notDrawn = nullptr;   // why the pictures stay the same
        std::function<void(BarcodeElementSettings &)> base = {};
        const char *sameOnCards = nullptr; // why the designer's picture changes and the card does not
    };
    const char *const redrawn = "outputs draw a symbol again at their own resolution";
    const auto customResolution = [](BarcodeElementSettings &s) {
        s.dpi_val_index = int(BarcodeLists::resolutions().indexOf(QStringLiteral("Custom")));
        s.dpi_custom_val = QStringLiteral("300");
    };
    const Row rows[] = {
        {"linear_or_2d", "Code 128", 1, "the symbology title decides between linear and 2D"},
        {"barcode_font_index", "Code 128", indexOf("Code 39")},
        {"linear_font_val", "Code 128", QStringLiteral("XY-99")},
        {"two_d_font_val", "QR Code", QStringLiteral("Table 9, seat 4")},
        {"header_val", "Code 128", QStringLiteral("Welcome")},
        {"footer_val", "Code 128", QStringLiteral("Table 12")},
        {"show_hide_hdr", "Code 128", 1},
        {"show_hide_ftr", "Code 128", 1},
        {"show_hide_val", "Code 128", 1},
        {"show_val_on_top", "Code 128", 1},
        {"align_hdr_index", "Code 128", 0},
        {"align_ftr_index", "Code 128", 2},
        {"linear_height_val", "Code 128", 1.5f},
        {"linear_width_val", "Code 128", 20.0f},
        {"qr_size_val", "QR Code", 90},
        {"qr_version_index", "QR Code", 6},
        {"qr_ec_index", "QR Code", 3},
        {"pdf_hgt_val", "PDF417", 80},
        {"pdf_wdt_val", "PDF417", 240},
        {"pdf_ec_val", "PDF417", 4},
        {"dm_module_val", "DataMatrix", 3},
        {"dm_format_index", "DataMatrix", 5},
        {"dm_encoding_index", "DataMatrix", 2},
        {"hdr_margin_val", "Code 128", 0.3f},
        {"ftr_margin_val", "Code 128", 0.3f},
        {"val_margin_val", "Code 128", 0.3f},
        {"TB_marging_val", "Code 128", 0.3f},
        {"LR_margin_val", "Code 128", 0.5f},
        {"value_font_val", "Code 128", CardFont(QStringLiteral("ArialMT"), 12)},
        {"header_font_val", "Code 128", CardFont(QStringLiteral("Arial-BoldMT"), 12)},
        {"footer_font_val", "Code 128", CardFont(QStringLiteral("TimesNewRomanPS-ItalicMT"), 11)},
        {"barcode_hdr_clr_val", "Code 128", QColor(200, 0, 0)},
        {"barcode_ftr_clr_val", "Code 128", QColor(0, 120, 0)},
        {"barcode_val_clr_val", "Code 128", QColor(0, 0, 160)},
        {"barcode_back_clr_val", "Code 128", QColor(255, 250, 200)},
        {"barcode_clr_val", "Code 128", QColor(20, 20, 120)},
        {"dpi_val_index", "QR Code", int(BarcodeLists::resolutions().indexOf(QStringLiteral("150"))), nullptr, {}, redrawn},
        {"dpi_custom_val", "QR Code", QStringLiteral("450"), nullptr, customResolution, redrawn},
        {"kerning_value_val", "Code 128", 1},
    };

    // The barcode fields are the table's from the first one on; the picture is the designer's
    // own output, not a setting.
    QStringList barcodeFields, covered;
    bool inBarcode = false;
    for (const LMNGraphicField &field : LMNGraphicField::all()) {
        inBarcode = inBarcode || QLatin1String(field.name) == QLatin1String("linear_or_2d");
        if (inBarcode && QLatin1String(field.name) != QLatin1String("_barcode_image"))
            barcodeFields << QLatin1String(field.name);
    }
    for (const Row &row : rows)
        covered << QLatin1String(row.field);
    EXPECT_EQ(covered, barcodeFields);   // a stored field without a row fails here

    for (const Row &row : rows) {
        SCOPED_TRACE(row.field);
        const LMNGraphicField *field = LMNGraphicField::find(QLatin1String(row.field));
        ASSERT_NE(field, nullptr);
        BarcodeElementSettings designed;
        designed.barcode_font_index = indexOf(row.title);
        designed.linear_or_2d = designed.isTwoDimensional() ? 1 : 0;
        designed.linear_font_val = QStringLiteral("AB-12");
        designed.two_d_font_val = QStringLiteral("Table 7, seat 3");
        if (row.base)
            row.base(designed);
        LMNBarcode before;
        designed.applyTo(before);
        LMNBarcode after = before;
        ASSERT_TRUE(setField(after, *field, row.changed));
        ASSERT_FALSE(sameField(before, after, *field)) << "the row's value is the start value";
        const LMNBarcode changed = after;

        // The record the designer opens with and the outputs rebuild the barcode from.
        EXPECT_NE(BarcodeElementSettings::fromGraphic(after), BarcodeElementSettings::fromGraphic(before));

        // The designer, confirmed untouched on each: its picture, and the card exported after.
        QImage pictures[2], cards[2];
        LMNBarcode *elements[2] = {&before, &after};
        for (int i = 0; i < 2; ++i) {
            Barcode_output_image = QImage();
            run(*elements[i], [](Barcode_Gen &gen) {
                EXPECT_TRUE(gen.ui.barcode_error_label->isHidden()) << gen.ui.barcode_error_label->text().toStdString();
                click(gen.ui.ok_btn);
            });
            pictures[i] = Barcode_output_image;
            ASSERT_FALSE(pictures[i].isNull());
            elements[i]->Set_Barcode_image(pictures[i]);
            cards[i] = exported(*elements[i]);
            ASSERT_FALSE(cards[i].isNull());
        }
        // Confirming kept the changed value.
        EXPECT_TRUE(row.notDrawn || sameField(after, changed, *field));
        if (row.notDrawn) {
            EXPECT_EQ(pictures[1], pictures[0]) << row.notDrawn;
            continue;
        }
        EXPECT_NE(pictures[1], pictures[0]) << "the designer's picture did not change";
        if (row.sameOnCards) {
            EXPECT_EQ(cards[1], cards[0]) << row.sameOnCards;
        } else {
            EXPECT_NE(cards[1], cards[0]) << "the exported card did not change";
        }
    }
}

namespace {

// Where the digits of an EAN-13 or UPC-A picture stand: the lowest dark row of the digit left
// of the bars and of the first group of digits between the guards, each the first band of
// dark rows below the bars' top in its columns (the header lies above, the footer apart
// below), in pixels; -1 where none is found.
std::pair<int, int> digitBottoms(const QImage &picture)
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    const auto dark = [&grey](int x, int y) { return qGray(grey.pixel(x, y)) < 128; };
    // Bar columns hold the longest dark runs.
    QList<int> longest(grey.width(), 0), runEnd(grey.width(), -1);
    int tallest = 0;
    for (int x = 0; x < grey.width(); ++x) {
        int run = 0;
        for (int y = 0; y < grey.height(); ++y) {
            run = dark(x, y) ? run + 1 : 0;
            if (run > longest[x]) {
                longest[x] = run;
                runEnd[x] = y;
            }
        }
        tallest = std::max(tallest, longest[x]);
    }
    int barsLeft = -1, barsRight = -1, barsTop = grey.height();
    for (int x = 0; x < grey.width(); ++x)
        if (tallest > 0 && longest[x] * 2 >= tallest) {
            barsLeft = barsLeft < 0 ? x : barsLeft;
            barsRight = x;
            barsTop = std::min(barsTop, runEnd[x] - longest[x] + 1);
        }
    if (barsLeft < 1)
        return {-1, -1};
    const double module = double(barsRight + 1 - barsLeft) / 95.0;
    const auto band = [&](int from, int to, int below) {
        const auto rowDark = [&](int y) {
            for (int x = std::max(from, 0); x <= to; ++x)
                if (dark(x, y))
                    return true;
            return false;
        };
        int y = below;
        while (y < grey.height() && !rowDark(y))
            ++y;
        while (y < grey.height() && rowDark(y))
            ++y;
        return y < grey.height() || rowDark(grey.height() - 1) ? y - 1 : -1;
    };
    const int groupFrom = barsLeft + int(std::ceil(4 * module)), groupTo = barsLeft + int(44 * module) - 1;
    int barsEnd = 0;
    for (int x = groupFrom; x <= groupTo; ++x)
        if (longest[x] * 2 >= tallest)
            barsEnd = std::max(barsEnd, runEnd[x]);
    return {band(0, barsLeft - int(std::ceil(module)), barsTop), band(groupFrom, groupTo, barsEnd + 1)};
}

} // namespace

// The digit left of the guards stands on the baseline of the digits between them: in the
// designer's picture, on the canvas (the element's picture, zoomed) and on the exported card.
TEST_F(BarcodeDesigner, TheLeadingDigitSharesTheOtherDigitsBaseline)
{
    for (const char *title : {"EAN-13", "UPCA"}) {
        SCOPED_TRACE(title);
        LMNBarcode element;
        run(element, [&](Barcode_Gen &gen) {
            type(gen, indexOf(title), QString::fromLatin1(title == QLatin1String("UPCA") ? "03600029145" : "590123412345"));
            click(gen.ui.ok_btn);
        });
        ASSERT_FALSE(Barcode_output_image.isNull());
        element.Set_Barcode_image(Barcode_output_image);   // as the hand-over to the card does
        element.setBounds(QRectF(QPointF(12, 12), element.pictureRect().size()));

        // The canvas at 200 %: the element's picture drawn as the canvas draws it.
        const QRectF bounds = element.bounds();
        QImage canvas((bounds.size() * 2).toSize(), QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            painter.scale(2, 2);
            painter.translate(-bounds.topLeft());
            element.draw(painter, DrawContext{});
        }
        const QImage card = exported(element);
        const QRectF onCard(bounds.topLeft() * 300 / 72, bounds.size() * 300 / 72);

        struct Road
        {
            const char *name;
            QImage picture;
            double pixelsPerPoint;
        };
        for (const Road &road : {Road{"designer", Barcode_output_image, Barcode_output_image.width() / bounds.width()},
                                 Road{"canvas", canvas, 2.0},
                                 Road{"export", card.copy(onCard.toAlignedRect()), 300.0 / 72.0}}) {
            SCOPED_TRACE(road.name);
            const auto [left, group] = digitBottoms(road.picture);
            ASSERT_GE(left, 0);
            ASSERT_GE(group, 0);
            // Round digits reach a hair below the baseline; the old placement stood 3 points up.
            EXPECT_LE(std::abs(left - group), std::max(1, int(std::lround(0.5 * road.pixelsPerPoint))));
        }
    }
}

// The designer makes only pictures a design keeps: a QR Code of 150 points at 2400 dpi (past
// Qt's own allocation limit) comes back from Save and Open, Copy and Paste pixel for pixel;
// where a size and resolution would make a picture past what a design keeps, the designer
// refuses it, naming the resolution, the picture's size and, in the symbology's own fields,
// the sizes or resolution that fit: each accepted as advised, every other setting unchanged,
// and refused one step (a point, a dpi, the field's last digit) more.
TEST_F(BarcodeDesigner, EveryPictureItMakesSurvivesSaveAndPasteOrItSaysWhichSizeFits)
{
    struct Case
    {
        const char *title;
        std::function<void(Barcode_Gen &)> size;
        QString refusal;   // empty: made; else the message's start
        QStringList advised = {};   // the fields the advice names, "" for the resolution
    };
    const auto side = [](int points) { return [points](Barcode_Gen &gen) { gen.ui.HeightStepper_2D->setValue(points); }; };
    const QString tooLarge = QStringLiteral("more than the 256 MB a barcode picture may take for a design to keep it. ");
    QList<Case> cases = {
        {"QR Code", side(150), {}},
        {"QR Code", side(400), QStringLiteral("At 2400 dpi the barcode would be a picture of 13334 × 13334 pixels (679 MB), ")
                                   + tooLarge + QStringLiteral("Choose a size of at most 214 points, or at most 1348 dpi."),
         {QStringLiteral("size"), QString()}},
        {"QR Code", side(300), QStringLiteral("At 2400 dpi the barcode would be a picture of 10000 × 10000 pixels (382 MB), ")
                                   + tooLarge + QStringLiteral("Choose a size of at most 214 points, or at most 1746 dpi."),
         {QStringLiteral("size"), QString()}},
        {"PDF417",
         [](Barcode_Gen &gen) {
             gen.ui.pdf_HeightStepper_2D->setValue(2000);
             gen.ui.Pdf_widthStepper_2D->setValue(4000);
         },
         QStringLiteral("At 2400 dpi the barcode would be a picture of 133334 × 66667 pixels (33909 MB), ") + tooLarge,
         {QStringLiteral("size"), QString()}},
        {"DataMatrix", [](Barcode_Gen &gen) { gen.ui.dm_moduleStepper_2D->setValue(20); },
         QStringLiteral("At 2400 dpi"), {QStringLiteral("module size"), QString()}},
    };
    // Linear and postal codes: long values in the tallest, widest bars.
    for (const auto &[title, length] : {std::pair{"Code 128", 40}, std::pair{"Royal Mail Barcode (RM4SCC / CBC)", 60}}) {
        cases.append({title,
                      [length](Barcode_Gen &gen) {
                          gen.ui.dataText->setText(QString(length, u'7'));
                          gen.ui.HeightStepper->setValue(20);
                          gen.ui.widthStepper->setValue(100);
                      },
                      QStringLiteral("At 600 dpi"), {QStringLiteral("bar height"), QStringLiteral("bar width")}});
    }
    QTemporaryDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.title) + " " + std::to_string(&c - cases.data()));
        LMNBarcode element;
        Barcode_output_image = QImage();
        run(element, [&](Barcode_Gen &gen) {
            type(gen, indexOf(c.title), QStringLiteral("https://example.org/rsvp?guest=0042&table=9"));
            gen.ui.DPI_ComboBox->setCurrentText(QStringLiteral("Custom"));
            gen.ui.dpi_Stepper->setValue(2400);
            c.size(gen);
            click(gen.ui.ok_btn);
            if (!c.refusal.isEmpty()) {
                EXPECT_EQ(gen.result(), -1);
                EXPECT_FALSE(gen.ui.barcode_error_label->isHidden());
                const QString refusal = gen.ui.barcode_error_label->text();
                EXPECT_TRUE(refusal.startsWith(c.refusal)) << refusal.toStdString();
                // Each advice alone, then one step more.
                const std::map<QString, QAbstractSpinBox *> fields = {
                    {QStringLiteral("size"), gen.ui.HeightStepper_2D},     {QStringLiteral("module size"), gen.ui.dm_moduleStepper_2D},
                    {QStringLiteral("bar height"), gen.ui.HeightStepper}, {QStringLiteral("bar width"), gen.ui.widthStepper},
                    {QString(), gen.ui.dpi_Stepper}};
                QStringList named;
                static const QRegularExpression advice(
                    QStringLiteral("(?:a ([a-z ]+) of )?at most ([0-9.]+)(?: × ([0-9]+))? (?:points|dpi|cm|mils)"));
                for (auto it = advice.globalMatch(refusal.mid(refusal.indexOf(QStringLiteral("Choose ")))); it.hasNext();) {
                    const QRegularExpressionMatch match = it.next();
                    SCOPED_TRACE(match.captured(0).toStdString());
                    named << match.captured(1);
                    // A drawing size is a width and a height.
                    const QList<std::pair<QAbstractSpinBox *, double>> advised = match.captured(3).isEmpty()
                        ? QList<std::pair<QAbstractSpinBox *, double>>{{fields.at(match.captured(1)), match.captured(2).toDouble()}}
                        : QList<std::pair<QAbstractSpinBox *, double>>{{gen.ui.Pdf_widthStepper_2D, match.captured(2).toDouble()},
                                                                       {gen.ui.pdf_HeightStepper_2D, match.captured(3).toDouble()}};
                    // One step is the field's last digit.
                    const auto setTo = [](QAbstractSpinBox *box, double v, int steps) {
                        if (auto *whole = qobject_cast<QSpinBox *>(box))
                            whole->setValue(int(std::lround(v)) + steps);
                        else if (auto *decimal = qobject_cast<QDoubleSpinBox *>(box))
                            decimal->setValue(v + steps * std::pow(10.0, -decimal->decimals()));
                    };
                    QList<double> kept;
                    for (const auto &[box, v] : advised) {
                        auto *whole = qobject_cast<QSpinBox *>(box);
                        kept << (whole ? whole->value() : qobject_cast<QDoubleSpinBox *>(box)->value());
                    }
                    for (int steps : {0, 1}) {
                        for (const auto &[box, v] : advised)
                            setTo(box, v, steps);
                        EXPECT_EQ(gen.currentPicture().isNull(), steps == 1) << steps << " steps more: "
                                                                           << gen.ui.barcode_error_label->text().toStdString();
                    }
                    EXPECT_TRUE(gen.ui.barcode_error_label->text().startsWith(QStringLiteral("At ")));
                    for (qsizetype i = 0; i < advised.size(); ++i)
                        setTo(advised[i].first, kept[i], 0);
                }
                EXPECT_EQ(named, c.advised);
                click(gen.ui.cancel_btn);
            }
        });
        if (!c.refusal.isEmpty()) {
            EXPECT_TRUE(Barcode_output_image.isNull());
            continue;
        }
        const QImage picture = Barcode_output_image;
        ASSERT_FALSE(picture.isNull());
        EXPECT_GT(qint64(picture.width()) * picture.height() * 4, qint64(128) << 20);   // past Qt's own limit
        auto made = std::make_shared<LMNBarcode>();
        made->setBounds(QRectF(10, 10, 150, 170));
        made->Set_Barcode_image(picture);

        // Copy and Paste: the element archive on the clipboard.
        QString error;
        const auto pasted = LMNGraphicArchive::decodeList(LMNGraphicArchive::encodeList({made}, true), &error);
        ASSERT_TRUE(pasted && pasted->size() == 1) << error.toStdString();
        EXPECT_TRUE(pasted->first()->_barcode_image.convertToFormat(picture.format()) == picture);

        // Save and Open.
        CardDesign design;
        design.Front_card_Prop.Card_Size = QSizeF(360, 504);
        design.graphics << made;
        const QString path = dir.filePath(QStringLiteral("qr.dcard"));
        ASSERT_TRUE(DesignFile::write(path, design, &error)) << error.toStdString();
        const std::optional<CardDesign> opened = DesignFile::read(path, &error);
        ASSERT_TRUE(opened && opened->graphics.size() == 1) << error.toStdString();
        EXPECT_TRUE(opened->lostPictures.isEmpty());
        EXPECT_TRUE(opened->graphics.first()->_barcode_image.convertToFormat(picture.format()) == picture);
    }
}
