// The stock templates the application ships (resources/seed/Templates): design files that
// read back, previews that show what the designs draw, elements that stay on the card, and
// the road from the start screen's template gallery into the editor, where each template must
// find its background picture in the user's resource folder.

#include "EditorWindowFixture.h"
#include "support/ForeignPictures.h"
#include "support/TestHelpers.h"

#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/LMNRenderingView.h"
#include "editor/DesignFile.h"
#include "editor/ResourceFolder.h"
#include "editor/ui/Invitation_Wizard.h"
#include "editor/ui/LMNWindowController.h"
#include "editor/ui/Template_Wizard.h"
#include "panels/CardBackgroundPainter.h"

#include <QStandardItemModel>

#include <cmath>

namespace {

const QStringList kPartyIds = {"PARTY_TITLE", "PARTY_TO",    "PARTY_MSG", "PARTY_DATE",
                               "PARTY_TIME",  "PARTY_VENUE", "PARTY_FROM"};

QString seedFolder()
{
    return TestHelpers::sourcePath(QStringLiteral("resources/seed"));
}

QString stockFolder()
{
    return QDir(seedFolder()).filePath(QStringLiteral("Templates"));
}

struct Stock
{
    QString path;
    QString name;
    CardDesign design;
};

// Every shipped template, read through the design reader (a failure to read fails the test).
QList<Stock> stockTemplates()
{
    QList<Stock> stock;
    const QFileInfoList files =
        QDir(stockFolder()).entryInfoList({QStringLiteral("*.") + DesignFile::Extension}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        QString error;
        std::optional<CardDesign> design = DesignFile::read(file.filePath(), &error);
        EXPECT_TRUE(design.has_value()) << qPrintable(error);
        if (design)
            stock.append({file.filePath(), file.completeBaseName(), *design});
    }
    return stock;
}

QString previewPath(const QString &designPath)
{
    const QFileInfo info(designPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".png"));
}

bool hasBack(const CardDesign &design)
{
    return design.Front_card_Prop.Card_Side == QLatin1String("2") && !design.graphics_back.isEmpty();
}

QImage renderSide(const CardDesign &design, bool back, const QString &resourcePath)
{
    Card_Property record = back ? design.Back_card_Prop : design.Front_card_Prop;
    // Designs do not carry their background picture; it is read from the resource folder.
    if (record.Card_fill_style == QLatin1String("I"))
        record.Card_BG_Image = QImage(QDir(resourcePath).filePath(record.Card_BG_Image_Path));
    LMNRenderingView renderer(design.Front_card_Prop.Card_Size,
                              CardBackgroundPainter(record, design.Card_Shape, resourcePath),
                              DrawContext{resourcePath, 1.0, {}});
    return renderer.image_From_Card_Graphics(back ? design.graphics_back : design.graphics, 0);
}

// The share of pixels whose colour is clearly not the same in two pictures of one size.
double differentShare(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    qint64 different = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            different += !TestHelpers::near(x.pixel(column, row), QColor::fromRgba(y.pixel(column, row)), 40);
        }
    }
    return double(different) / (double(x.width()) * x.height());
}

// How far the picture of one side differs from its part of the preview (the front at the top,
// the back beneath it).
double differenceFromPreview(const QImage &side, const QImage &preview, bool back)
{
    const QRect area(0, back ? preview.height() - side.height() : 0, side.width(), side.height());
    if (!preview.rect().contains(area))
        return 1.0;
    return differentShare(side, preview.copy(area));
}

} // namespace

// One pass over every shipped template: it reads, its preview shows what it draws, its elements
// stay on the card and fit their texts, its pictures travel or come from the resource folder,
// and its identified texts are the wizard's party elements.
TEST(StockTemplates, EveryShippedTemplateIsSound)
{
    const QList<Stock> stock = stockTemplates();
    EXPECT_GE(stock.size(), 4);
    // Nothing but templates and their previews: the gallery shows every design file.
    const QStringList everything = QDir(stockFolder()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(everything.size(), 2 * stock.size()) << qPrintable(everything.join(", "));
    int twoSided = 0, invitations = 0;
    for (const Stock &t : stock) {
        SCOPED_TRACE(t.name.toStdString());
        const QSizeF size = t.design.Front_card_Prop.Card_Size;
        ASSERT_FALSE(size.isEmpty());
        EXPECT_EQ(t.design.Back_card_Prop.Card_Size, size);
        EXPECT_EQ(t.design.Front_card_Prop.Card_Name, t.name);
        EXPECT_FALSE(t.design.graphics.isEmpty());

        // What "Save as Template" writes: the front at 72 dots per inch, the back beneath it; a
        // design changed without its preview drawn again would mislead the gallery.
        const QImage preview(previewPath(t.path));
        twoSided += hasBack(t.design);
        EXPECT_EQ(preview.size(), QSize(LMNRenderingView::pixelSize(size, 1.0).width(), LMNRenderingView::pixelSize(size, 1.0).height() * (hasBack(t.design) ? 2 : 1)));
        for (bool back : {false, true})
            if (!back || hasBack(t.design)) {
                EXPECT_LT(differenceFromPreview(renderSide(t.design, back, seedFolder()), preview, back), 0.01) << back;
            }

        for (const Card_Property *record : {&t.design.Front_card_Prop, &t.design.Back_card_Prop}) {
            if (record->Card_fill_chk && record->Card_fill_style == QLatin1String("I")) {
                // Relative, so that it names the picture in whichever folder the user has.
                EXPECT_TRUE(QDir::isRelativePath(record->Card_BG_Image_Path)) << qPrintable(record->Card_BG_Image_Path);
                EXPECT_FALSE(QImage(QDir(seedFolder()).filePath(record->Card_BG_Image_Path)).isNull());
            } else if (record->Card_fill_chk && record->Card_fill_style == QLatin1String("H")) {
                EXPECT_FALSE(CardBackgroundPainter::hatchImage(seedFolder(), record->Card_hatch_style).isNull());
            }
        }
        const QRectF card = QRectF(QPointF(0, 0), size).adjusted(-0.5, -0.5, 0.5, 0.5);
        for (const GraphicList *side : {&t.design.graphics, &t.design.graphics_back}) {
            QStringList seen;
            for (const GraphicPtr &element : *side) {
                SCOPED_TRACE(element->Text_Value.toStdString());
                EXPECT_TRUE(element->ctrl_is_visible == 1 && element->print_object == 0);
                EXPECT_TRUE(card.contains(element->drawingBounds()));
                if (element->kind() == GraphicKind::Image) {   // carried in the design, no folder of the maker's
                    EXPECT_FALSE(element->_image.isNull());
                    EXPECT_TRUE(QDir::isRelativePath(element->_file_path)) << qPrintable(element->_file_path);
                }
                if (element->kind() == GraphicKind::Text) {
                    // Lines are broken by hand; the editor's own layout must find room for each
                    // without breaking it again or cutting the last line off.
                    const GraphicPtr measured = element->clone();
                    measured->makeNaturalSize();
                    EXPECT_LE(measured->bounds().width(), element->bounds().width() + 0.5);
                    EXPECT_LE(measured->bounds().height(), element->bounds().height() + 0.5);
                }
                if (element->control_ID.isEmpty())
                    continue;
                EXPECT_TRUE(kPartyIds.contains(element->control_ID) && element->kind() == GraphicKind::Text)
                    << qPrintable(element->control_ID);
                EXPECT_FALSE(seen.contains(element->control_ID)) << "twice: " << qPrintable(element->control_ID);
                seen << element->control_ID;
            }
            invitations += seen.contains("PARTY_TITLE") && seen.contains("PARTY_DATE") && seen.contains("PARTY_VENUE");
        }
    }
    EXPECT_GE(twoSided, 1) << "a two-sided card with a message on the back";
    EXPECT_GE(invitations, 4);
}

namespace {

// An editor window over a resource folder seeded as at first start.
class TemplateRoad : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        Resource_Path = m_resources.path();
        QString error;
        ASSERT_TRUE(ResourceFolder::prepare(Resource_Path, &error)) << qPrintable(error);
    }

    QString userTemplates() const { return QDir(m_resources.path()).filePath(QStringLiteral("Templates")); }

    // The side as the editor now holds it, drawn through the editor's own background record.
    QImage editorSide(int side) const
    {
        LMNRenderingView renderer(m_window->cardSize(), m_window->backgroundPainterForSide(side),
                                  DrawContext{Resource_Path, 1.0, {}});
        return renderer.image_From_Card_Graphics(side ? m_document.graphics_back : m_document.graphics, 0);
    }
};

} // namespace

TEST_F(TemplateRoad, EveryStockTemplateOpensWithItsBackgroundFromTheUserFolder)
{
    const QStringList files = Template_Wizard::templateFiles(userTemplates());
    EXPECT_EQ(files.size(), stockTemplates().size());
    for (const QString &file : files) {
        SCOPED_TRACE(QFileInfo(file).completeBaseName().toStdString());
        QString error;
        const std::optional<CardDesign> design = DesignFile::read(file, &error);
        ASSERT_TRUE(design) << qPrintable(error);

        ASSERT_TRUE(m_window->Read_and_load_design_Log(file, false));
        EXPECT_TRUE(m_seam.messages.isEmpty()) << qPrintable(m_seam.messageTexts().join(" / "));
        // A template starts a new, untitled design.
        EXPECT_TRUE(m_window->designFilePath().isEmpty());
        EXPECT_EQ(m_window->cardSize(), design->Front_card_Prop.Card_Size);
        EXPECT_EQ(m_document.graphics.size(), design->graphics.size());
        EXPECT_EQ(m_document.graphics_back.size(), design->graphics_back.size());

        for (const Card_Property *record : {&m_window->Front_card_Prop, &m_window->Back_card_Prop}) {
            if (!record->Card_fill_chk || record->Card_fill_style != QLatin1String("I"))
                continue;
            EXPECT_FALSE(record->Card_BG_Image.isNull()) << qPrintable(record->Card_BG_Image_Path);
            // The picture is the user's copy, named by a path that works from anywhere.
            EXPECT_TRUE(QDir::isAbsolutePath(record->Card_BG_Image_Path));
            EXPECT_TRUE(record->Card_BG_Image_Path.startsWith(m_resources.path()))
                << qPrintable(record->Card_BG_Image_Path);
        }

        // What the editor shows is what the gallery promised.
        for (int side : {0, 1})
            if (!side || hasBack(*design)) {
                EXPECT_LT(differenceFromPreview(editorSide(side), QImage(previewPath(file)), side), 0.01) << side;
            }
    }
}

TEST_F(TemplateRoad, StartScreenTemplateGalleryLoadsTheChosenTemplate)
{
    const QString wanted = QStringLiteral("Starry Night Celebration");
    ASSERT_TRUE(QFileInfo::exists(QDir(stockFolder()).filePath(wanted + QStringLiteral(".dcard"))));
    // Beside the stock templates (previews in PNG), one whose preview is SVG data naming a file of
    // this disk, for each such SVG: listed, with no pixel of the picture it names.
    QTemporaryDir folder;
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    QStringList svgPreviews;
    for (const auto &[name, svg] : named.svgs()) {
        const QString design = QDir(userTemplates()).filePath(name + QStringLiteral(".dcard"));
        ASSERT_TRUE(QFile::copy(QDir(userTemplates()).filePath(wanted + QStringLiteral(".dcard")), design));
        TestHelpers::writeFile(previewPath(design), svg);
        svgPreviews << name;
    }
    // The start screen: its template button opens the gallery from inside the start screen.
    m_seam.onDialog([](QDialog *dialog) {
        auto *wizard = qobject_cast<Invitation_Wizard *>(dialog);
        EXPECT_NE(wizard, nullptr);
        if (!wizard)
            return int(QDialog::Rejected);
        QTest::mouseClick(wizard->ui.template_btn, Qt::LeftButton);
        return wizard->result();
    });
    // The gallery: pick the template by the name shown under its preview.
    m_seam.onDialog([wanted, &svgPreviews](QDialog *dialog) {
        auto *gallery = qobject_cast<Template_Wizard *>(dialog);
        EXPECT_NE(gallery, nullptr);
        if (!gallery)
            return int(QDialog::Rejected);
        QAbstractItemModel *model = gallery->ui.template_gallery->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
            if (svgPreviews.removeOne(index.data().toString())) {
                const QImage shown = icon.pixmap(gallery->ui.template_gallery->iconSize()).toImage();
                EXPECT_EQ(TestHelpers::countPixelsDifferent(shown, Qt::red, shown.rect(), 60), shown.width() * shown.height())
                    << "red in row " << row;
            } else {
                EXPECT_FALSE(icon.isNull()) << "no preview for row " << row;
            }
            if (index.data().toString() == wanted)
                gallery->ui.template_gallery->setCurrentIndex(index);
        }
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(m_window->windowDidLoad());

    EXPECT_TRUE(svgPreviews.isEmpty()) << qPrintable(svgPreviews.join(", "));
    EXPECT_EQ(named.fifoOpened(), 0);
    ASSERT_EQ(m_seam.dialogsRun.size(), 2);
    EXPECT_EQ(m_window->Front_card_Prop.Card_Name, wanted);
    EXPECT_EQ(m_window->Front_card_Prop.Card_fill_style, QStringLiteral("I"));
    EXPECT_FALSE(m_window->Front_card_Prop.Card_BG_Image.isNull());
    EXPECT_EQ(m_window->Front_card_Prop.Card_BG_Image_Path,
              QDir(m_resources.path()).filePath(QStringLiteral("Background/Starry Night.jpg")));
    bool hasTitle = false;
    for (const GraphicPtr &element : m_document.graphics)
        hasTitle = hasTitle || element->control_ID == QLatin1String("PARTY_TITLE");
    EXPECT_TRUE(hasTitle);
    EXPECT_TRUE(m_window->designFilePath().isEmpty());   // saving asks for a new name
    // Opening a template is not an edit: nothing to undo.
    EXPECT_FALSE(m_document.undoManager()->canUndo());
}

TEST_F(TemplateRoad, TemplateWhosePictureTheUserDeletedStillOpens)
{
    const QString file = QDir(userTemplates()).filePath(QStringLiteral("Starry Night Celebration.dcard"));
    ASSERT_TRUE(QFile::remove(QDir(m_resources.path()).filePath(QStringLiteral("Background/Starry Night.jpg"))));
    ASSERT_TRUE(m_window->Read_and_load_design_Log(file, false));
    EXPECT_TRUE(m_window->Front_card_Prop.Card_BG_Image.isNull());
    EXPECT_FALSE(m_document.graphics.isEmpty());
    // The card is still drawn: white under the elements where the picture would be.
    const QImage side = editorSide(0);
    ASSERT_FALSE(side.isNull());
    EXPECT_EQ(QColor(side.pixel(2, 2)), QColor(Qt::white));
}
