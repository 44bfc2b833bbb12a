#include "document/LMNGraphicField.h"

// The member name is spelled once: it becomes both the pointer and the archive key, so
// the two can never drift apart.
#define FIELD(member) LMNGraphicField{#member, &LMNGraphic::member}

const std::vector<LMNGraphicField> &LMNGraphicField::all()
{
    static const std::vector<LMNGraphicField> fields = {
        FIELD(_bounds), FIELD(ctrl_is_locked), FIELD(ctrl_is_visible),
        FIELD(print_object), FIELD(control_ID), FIELD(Text_Value),
        FIELD(_Text_contents), FIELD(data_source_type), FIELD(batch_list_name),
        FIELD(batch_list_index), FIELD(excel_col_indx), FIELD(excel_binding),
        FIELD(_isDrawingStroke), FIELD(_strokeColor), FIELD(_strokeWidth),
        FIELD(_stroke_border_type), FIELD(_isDrawingFill), FIELD(_fillColor),
        FIELD(_fill_type), FIELD(_fill_Grad_clr1), FIELD(_fill_Grad_clr2),
        FIELD(_fill_grad_angle), FIELD(_fill_htch_clr), FIELD(_fill_hatch_type),
        FIELD(alpha_val), FIELD(alpha_val_stroke), FIELD(_shape_type),
        FIELD(cor_rad_val_val), FIELD(double_star_type), FIELD(polygon_type),
        FIELD(_line_cap_style), FIELD(_line_ori), FIELD(txt_clr),
        FIELD(text_ctrl_font), FIELD(text_alignmnet), FIELD(text_transfrom_case),
        FIELD(text_kerning), FIELD(_file_path), FIELD(_image),
        FIELD(_isFlippedHorizontally), FIELD(_isFlippedVertically), FIELD(invert_clr),
        FIELD(gray_Scale), FIELD(Sepia), FIELD(img_trnsp_val),
        FIELD(rotate_image), FIELD(hue_val), FIELD(sat_val),
        FIELD(brt_val), FIELD(con_val), FIELD(srp_val),
        FIELD(ev_val), FIELD(blr_val), FIELD(sign_or_fingureprint),
        FIELD(linear_or_2d), FIELD(barcode_font_index), FIELD(linear_font_val),
        FIELD(two_d_font_val), FIELD(header_val), FIELD(footer_val),
        FIELD(show_hide_hdr), FIELD(show_hide_ftr), FIELD(show_hide_val),
        FIELD(show_val_on_top), FIELD(align_hdr_index), FIELD(align_ftr_index),
        FIELD(linear_height_val), FIELD(linear_width_val), FIELD(qr_size_val),
        FIELD(qr_version_index), FIELD(qr_ec_index), FIELD(pdf_hgt_val),
        FIELD(pdf_wdt_val), FIELD(pdf_ec_val), FIELD(dm_module_val),
        FIELD(dm_format_index), FIELD(dm_encoding_index), FIELD(hdr_margin_val),
        FIELD(ftr_margin_val), FIELD(val_margin_val), FIELD(TB_marging_val),
        FIELD(LR_margin_val), FIELD(value_font_val), FIELD(header_font_val),
        FIELD(footer_font_val), FIELD(barcode_hdr_clr_val), FIELD(barcode_ftr_clr_val),
        FIELD(barcode_val_clr_val), FIELD(barcode_back_clr_val), FIELD(barcode_clr_val),
        FIELD(dpi_val_index), FIELD(dpi_custom_val), FIELD(_barcode_image),
        FIELD(kerning_value_val),
    };
    return fields;
}

#undef FIELD

const LMNGraphicField *LMNGraphicField::find(const QString &name)
{
    for (const LMNGraphicField &field : all())
        if (name == QLatin1String(field.name))
            return &field;
    return nullptr;
}
