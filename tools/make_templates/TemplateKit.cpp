#include "TemplateKit.h"

#include "document/LMNImage.h"
#include "document/LMNRenderingView.h"
#include "editor/CardSizeCatalog.h"
#include "editor/DesignFile.h"
#include "editor/TemplatePreview.h"
#include "panels/CardBackgroundPainter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <utility>

namespace {

// Room for anti-aliasing at the edges when checking that an element stays on the card.
constexpr double kEdgeTolerance = 0.5;

}   // namespace

TemplateKit::TemplateKit(QString seedFolder)
    : m_seed(std::move(seedFolder))
{
}

CardDesign TemplateKit::newDesign(const QString &name, const QString &sizeName, bool vertical, bool twoSided)
{
    m_current = name;
    CardDesign design;
    const QList<CardSize> &sizes = CardSizeCatalog::paperCards();
    const auto found =
        std::find_if(sizes.cbegin(), sizes.cend(), [&](const CardSize &s) { return s.name == sizeName; });
    if (found == sizes.cend()) {
        m_problems << QStringLiteral("%1: no card size \"%2\"").arg(name, sizeName);
        return design;
    }
    for (Card_Property *record : {&design.Front_card_Prop, &design.Back_card_Prop}) {
        record->Card_Name = name;
        record->Card_Category = QStringLiteral("Paper Card");
        record->Card_Sub_Category = found->name;
        record->Card_Cat_index = int(found - sizes.cbegin());
        record->Card_Preset = vertical ? QStringLiteral("Vertical") : QStringLiteral("Horizontal");
        record->Card_Size = found->sizeInPoints(vertical);
        record->Card_Side = twoSided ? QStringLiteral("2") : QStringLiteral("1");
        record->Card_Content_clr = Qt::black;
    }
    design.Front_card_Prop.Card_Side_Name = QStringLiteral("F");
    design.Back_card_Prop.Card_Side_Name = QStringLiteral("B");
    design.Card_Shape = 0;
    return design;
}

void TemplateKit::pictureBackground(Card_Property &record, const QString &fileName)
{
    const QString relative = QStringLiteral("Background/") + fileName;
    record.Card_fill_chk = true;
    record.Card_fill_style = QStringLiteral("I");
    record.Card_BG_Image_Layout = QStringLiteral("Stretch");
    record.Card_BG_Image_Path = relative;
    record.Card_BG_Image = QImage(QDir(m_seed).filePath(relative));
    if (record.Card_BG_Image.isNull())
        m_problems << QStringLiteral("%1: no background picture \"%2\"").arg(m_current, relative);
}

void TemplateKit::gradientBackground(Card_Property &record, const QColor &from, const QColor &to, int degrees)
{
    record.Card_fill_chk = true;
    record.Card_fill_style = QStringLiteral("G");
    record.Card_fill_Grd_1_clr = from;
    record.Card_fill_Grd_2_clr = to;
    record.Card_grad_Stepper = degrees;
}

void TemplateKit::hatchBackground(Card_Property &record, const QString &pattern, const QColor &background)
{
    record.Card_fill_chk = true;
    record.Card_fill_style = QStringLiteral("H");
    record.Card_hatch_style = pattern;
    record.Card_hatch_bk_clr = background;
    if (CardBackgroundPainter::hatchImage(m_seed, pattern).isNull())
        m_problems << QStringLiteral("%1: no fill pattern \"%2\"").arg(m_current, pattern);
}

GraphicPtr TemplateKit::text(const QString &controlId, const QString &text, const TextStyle &style, double left,
                             double top, double width)
{
    GraphicPtr element = LMNGraphic::create(GraphicKind::Text);
    element->setText(text);
    element->control_ID = controlId;
    element->_isDrawingFill = false;
    element->_isDrawingStroke = false;
    element->text_ctrl_font = style.font;
    element->txt_clr = style.colour;
    element->text_alignmnet = style.alignment;

    // The natural size is what the editor's own text layout needs for these lines unbroken.
    element->setBounds(QRectF(left, top, width, 1));
    element->makeNaturalSize();
    const QSizeF natural = element->bounds().size();
    if (natural.width() > width)
        m_problems << QStringLiteral("%1: \"%2\" needs %3 points, has %4")
                          .arg(m_current, QString(text).replace(QLatin1Char('\n'), QLatin1Char('/')))
                          .arg(natural.width())
                          .arg(width);
    element->setBounds(QRectF(left, top, width, natural.height()));
    return element;
}

GraphicPtr TemplateKit::centredText(const QString &controlId, const QString &text, const TextStyle &style,
                                    double centreX, double top, double width)
{
    return this->text(controlId, text, style, centreX - width / 2.0, top, width);
}

GraphicPtr TemplateKit::shape(const QString &code, const QRectF &rect, const QColor &fill, const QColor &stroke,
                              double strokeWidth)
{
    GraphicPtr element = LMNGraphic::create(GraphicKind::Shape);
    element->_shape_type = code;
    element->setBounds(rect);
    element->_isDrawingFill = fill.isValid();
    if (fill.isValid()) {
        element->_fill_type = QStringLiteral("S");
        element->_fillColor = QColor(fill.red(), fill.green(), fill.blue());
        // The element's opacity carries the fill's translucency.
        element->alpha_val = fill.alpha() == 255 ? 100.0f : float(fill.alphaF());
    }
    element->_isDrawingStroke = stroke.isValid() && strokeWidth > 0;
    element->_strokeColor = stroke.isValid() ? stroke : QColor(Qt::black);
    element->_strokeWidth = strokeWidth;
    return element;
}

GraphicPtr TemplateKit::line(const QRectF &rect, const QColor &colour, double width, bool vertical)
{
    GraphicPtr element = LMNGraphic::create(GraphicKind::Line);
    element->setBounds(rect);
    element->_line_ori = vertical ? 1 : 0;
    element->_strokeColor = colour;
    element->_strokeWidth = width;
    element->_line_cap_style = 1;
    return element;
}

GraphicPtr TemplateKit::picture(const QString &libraryPath, const QRectF &box)
{
    auto element = std::make_shared<LMNImage>();
    const QString relative = QStringLiteral("LibraryImage/") + libraryPath;
    element->setFilePath(QDir(m_seed).filePath(relative));
    // The picture itself travels in the design; the path only names where it came from and
    // must not carry this machine's folders.
    element->_file_path = relative;
    element->_isDrawingStroke = false;
    if (element->_image.isNull()) {
        m_problems << QStringLiteral("%1: no library picture \"%2\"").arg(m_current, relative);
        element->setBounds(box);
        return element;
    }
    QSizeF size = element->_image.size();
    size.scale(box.size(), Qt::KeepAspectRatio);
    QRectF rect(QPointF(0, 0), size);
    rect.moveCenter(box.center());
    element->setBounds(rect);
    return element;
}

void TemplateKit::checkOnCard(const CardDesign &design, const GraphicList &side, const QString &sideName)
{
    const QRectF card = QRectF(QPointF(0, 0), design.Front_card_Prop.Card_Size)
                            .adjusted(-kEdgeTolerance, -kEdgeTolerance, kEdgeTolerance, kEdgeTolerance);
    for (const GraphicPtr &element : side) {
        if (!card.contains(element->drawingBounds()))
            m_problems << QStringLiteral("%1: %2 element \"%3\" at (%4, %5, %6 x %7) leaves the card")
                              .arg(m_current, sideName,
                                   element->control_ID.isEmpty() ? element->Text_Value.left(20) : element->control_ID)
                              .arg(element->bounds().x())
                              .arg(element->bounds().y())
                              .arg(element->bounds().width())
                              .arg(element->bounds().height());
    }
}

QImage TemplateKit::renderSide(const CardDesign &design, bool back) const
{
    const Card_Property &record = back ? design.Back_card_Prop : design.Front_card_Prop;
    LMNRenderingView renderer(design.Front_card_Prop.Card_Size,
                              CardBackgroundPainter(record, design.Card_Shape, m_seed), DrawContext{m_seed, 1.0, {}});
    return renderer.image_From_Card_Graphics(back ? design.graphics_back : design.graphics, 0);
}

QImage TemplateKit::preview(const CardDesign &design) const
{
    const bool back = TemplatePreview::showsBack(design.Front_card_Prop.Card_Side, design.graphics_back);
    return TemplatePreview::compose(renderSide(design, false), back ? renderSide(design, true) : QImage());
}

bool TemplateKit::write(const CardDesign &design, const QString &folder, QString *error)
{
    m_current = design.Front_card_Prop.Card_Name;
    const int known = int(m_problems.size());
    checkOnCard(design, design.graphics, QStringLiteral("front"));
    checkOnCard(design, design.graphics_back, QStringLiteral("back"));
    if (m_problems.size() != known) {
        *error = QStringLiteral("%1 is not written: it has problems").arg(m_current);
        return false;
    }
    const QDir out(folder);
    if (!out.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    if (!DesignFile::write(out.filePath(m_current + QLatin1Char('.') + DesignFile::Extension), design, error))
        return false;
    const QImage picture = preview(design);
    QSaveFile file(out.filePath(m_current + QStringLiteral(".png")));
    if (picture.isNull() || !file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
        *error = QStringLiteral("the preview of %1 could not be written: %2").arg(m_current, file.errorString());
        return false;
    }
    return true;
}
