#include "document/SetPropertiesCommand.h"

#include "document/LMNDocument.h"

#include <QCoreApplication>
#include <QHash>

namespace {

constexpr int kMergeId = 0x5e7;

// What a user calls each stored field; fields left out are barcode settings.
const QHash<QString, const char *> &fieldLabels()
{
    static const QHash<QString, const char *> labels = {
        {QStringLiteral("_bounds"), "Size"},
        {QStringLiteral("ctrl_is_locked"), "Lock"},
        {QStringLiteral("ctrl_is_visible"), "Visibility"},
        {QStringLiteral("print_object"), "Print Setting"},
        {QStringLiteral("control_ID"), "Text"},
        {QStringLiteral("Text_Value"), "Text"},
        {QStringLiteral("_Text_contents"), "Text"},
        {QStringLiteral("data_source_type"), "Data Source"},
        {QStringLiteral("batch_list_name"), "Data Source"},
        {QStringLiteral("batch_list_index"), "Data Source"},
        {QStringLiteral("excel_col_indx"), "Data Source"},
        {QStringLiteral("excel_binding"), "Data Source"},
        {QStringLiteral("_isDrawingStroke"), "Border"},
        {QStringLiteral("_strokeColor"), "Border Color"},
        {QStringLiteral("_strokeWidth"), "Border Width"},
        {QStringLiteral("_stroke_border_type"), "Border Style"},
        {QStringLiteral("_isDrawingFill"), "Fill"},
        {QStringLiteral("_fillColor"), "Fill Color"},
        {QStringLiteral("_fill_type"), "Fill Style"},
        {QStringLiteral("_fill_Grad_clr1"), "Gradient Color"},
        {QStringLiteral("_fill_Grad_clr2"), "Gradient Color"},
        {QStringLiteral("_fill_grad_angle"), "Gradient Angle"},
        {QStringLiteral("_fill_htch_clr"), "Pattern Color"},
        {QStringLiteral("_fill_hatch_type"), "Pattern"},
        {QStringLiteral("alpha_val"), "Opacity"},
        {QStringLiteral("alpha_val_stroke"), "Opacity"},
        {QStringLiteral("_shape_type"), "Shape"},
        {QStringLiteral("cor_rad_val_val"), "Corner Radius"},
        {QStringLiteral("double_star_type"), "Star Points"},
        {QStringLiteral("polygon_type"), "Polygon Corners"},
        {QStringLiteral("_line_cap_style"), "Line Ends"},
        {QStringLiteral("_line_ori"), "Line Direction"},
        {QStringLiteral("txt_clr"), "Text Color"},
        {QStringLiteral("text_ctrl_font"), "Font"},
        {QStringLiteral("text_alignmnet"), "Alignment"},
        {QStringLiteral("text_transfrom_case"), "Text Case"},
        {QStringLiteral("text_kerning"), "Letter Spacing"},
        {QStringLiteral("_file_path"), "Picture"},
        {QStringLiteral("_image"), "Picture"},
        {QStringLiteral("_isFlippedHorizontally"), "Flip"},
        {QStringLiteral("_isFlippedVertically"), "Flip"},
        {QStringLiteral("invert_clr"), "Invert"},
        {QStringLiteral("gray_Scale"), "Grayscale"},
        {QStringLiteral("Sepia"), "Sepia"},
        {QStringLiteral("img_trnsp_val"), "Transparency"},
        {QStringLiteral("rotate_image"), "Rotation"},
        {QStringLiteral("hue_val"), "Hue"},
        {QStringLiteral("sat_val"), "Saturation"},
        {QStringLiteral("brt_val"), "Brightness"},
        {QStringLiteral("con_val"), "Contrast"},
        {QStringLiteral("srp_val"), "Sharpness"},
        {QStringLiteral("ev_val"), "Exposure"},
        {QStringLiteral("blr_val"), "Blur"},
        {QStringLiteral("sign_or_fingureprint"), "Signature"},
    };
    return labels;
}

} // namespace

SetPropertiesCommand::SetPropertiesCommand(LMNDocument *document, GraphicList *list, ElementStateChange change,
                                           const QString &text, int run)
    : GraphicEditCommand(document, list, text.isEmpty() ? textFor(change.fieldNames()) : text)
    , m_change(std::move(change))
    , m_run(run)
    , m_namedByCaller(!text.isEmpty())
{
}

bool SetPropertiesCommand::record(LMNDocument *document, GraphicList *list, const GraphicList &elements,
                                  const std::function<void()> &edit, const QString &text, int run)
{
    ElementStateChange change(elements);
    edit();
    change.finish();
    if (change.isEmpty() || !document)
        return false;
    document->perform(new SetPropertiesCommand(document, list, std::move(change), text, run), /*alreadyApplied=*/true);
    return true;
}

QString SetPropertiesCommand::labelOf(const QString &fieldName)
{
    return QString::fromLatin1(fieldLabels().value(fieldName, "Barcode"));
}

QString SetPropertiesCommand::textFor(const QStringList &fieldNames)
{
    QStringList labels;
    for (const QString &name : fieldNames)
        if (!labels.contains(labelOf(name)))
            labels.append(labelOf(name));
    // A page writes all its values back: the first write-back may also store an opacity in
    // the panel's terms (1 for the initial 100, both opaque). That is not what the user changed.
    if (labels.size() > 1)
        labels.removeAll(QStringLiteral("Opacity"));
    if (labels.size() != 1)
        return QCoreApplication::translate("SetPropertiesCommand", "Change Settings");
    return QCoreApplication::translate("SetPropertiesCommand", "Change %1").arg(labels.first());
}

int SetPropertiesCommand::id() const
{
    return m_run >= 0 ? kMergeId : -1;
}

bool SetPropertiesCommand::mergeWith(const QUndoCommand *other)
{
    const auto *newer = dynamic_cast<const SetPropertiesCommand *>(other);
    if (!newer || newer->m_run != m_run || m_run < 0 || newer->list() != list()
        || !m_change.canAbsorb(newer->m_change))
        return false;
    m_change.absorb(newer->m_change);
    if (!m_namedByCaller)
        setText(textFor(m_change.fieldNames()));
    return true;
}
