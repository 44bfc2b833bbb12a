#pragma once

#include "document/CardFont.h"
#include "document/PictureBytes.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPainterPath;
class LMNGraphic;

using GraphicPtr = std::shared_ptr<LMNGraphic>;
using GraphicList = QList<GraphicPtr>;

// The exact kind of an element. Code that must treat "exactly a text element" differently
// from other kinds compares kinds, never casts: a future subclass of LMNText is not a text.
enum class GraphicKind {
    Graphic,    // the bare base class (used for elements of an unknown stored kind)
    Text,       // LMNText
    Line,       // LMNLine
    Image,      // LMNImage
    Shape,      // Shape_Control
    Signature,  // LMNSignature (signature or fingerprint)
    Barcode,    // LMNBarcode
};

// What drawing needs from outside the element: where shipped pictures live and the scale
// of the target, so hairlines and picture effects can be sized for the output resolution.
struct DrawContext
{
    QString resourcePath;       // folder holding "barcode_sample.png" and "Fill_Style_Image"; empty: none drawn
    double devicePixelsPerPoint = 1.0;
    // Outputs (export, print, mail) draw barcode elements for their device through this: it
    // draws `barcode` into `target` (points) and answers true, or answers false and the element
    // draws its own picture. Empty (the canvas): the picture is drawn.
    std::function<bool(QPainter &painter, const LMNGraphic &barcode, const QRectF &target)> drawBarcode;
};

// One card element. One record type carries the settings of every element kind; the kinds
// below add drawing, hit testing and natural size. Fields are plain and public because the
// property panels, the barcode designer and batch generation write them directly (without
// undo registration); the canvas wraps its own edits in undo commands.
//
// Units: bounds, widths and sizes in points (1/72 inch), origin at the top-left of the side.
// Opacities alpha_val and alpha_val_stroke are fractions where the initial value 100 counts
// as fully opaque (anything >= 1 is opaque); img_trnsp_val is a percentage.
class LMNGraphic
{
public:
    LMNGraphic();
    virtual ~LMNGraphic();

    LMNGraphic(const LMNGraphic &) = default;
    LMNGraphic &operator=(const LMNGraphic &) = delete;

    virtual GraphicKind kind() const { return GraphicKind::Graphic; }
    // The stored class name of the kind ("LMNText", "Shape_Control", ...).
    static QString className(GraphicKind kind);
    static GraphicKind kindFromClassName(const QString &name, bool *known = nullptr);
    // A fresh element of the kind with every default.
    static GraphicPtr create(GraphicKind kind);
    // A deep copy of this element, of the same kind.
    virtual GraphicPtr clone() const;

    // Draws the element in point coordinates. Draws nothing when ctrl_is_visible is 0.
    void draw(QPainter &painter, const DrawContext &context) const;
    // Whether a point (in points) lies on the element; invisible elements are never hit.
    virtual bool hitTest(const QPointF &point) const;
    // The area the element may paint: bounds grown by half the stroke width.
    virtual QRectF drawingBounds() const;
    // The kind's preferred size, keeping the origin (pictures: the picture's size, text: its text).
    virtual void makeNaturalSize();

    QRectF bounds() const { return _bounds; }
    void setBounds(const QRectF &bounds) { _bounds = bounds.normalized(); }

    // Opacity fractions as drawn: values of 1 and above (the initial 100) are opaque.
    static double opacityFraction(float value);

    // --- Plain setters the data binding and the profile filler call ---
    QString Get_shape_type() const { return _shape_type; }
    void Set_Data_source_type(int type) { data_source_type = type; }
    void Set_Batch_List_Name(const QString &name) { batch_list_name = name; }
    void Set_Batch_List_Index(int index) { batch_list_index = index; }
    void Set_Excel_binding(bool flag) { excel_binding = flag; }
    void Set_Excel_binding_Index(int index) { excel_col_indx = index; }
    void Set_Ctrl_Is_Visible(int flag) { ctrl_is_visible = flag; }
    void Set_Barcode_image(const QImage &image) { _barcode_image = image; }
    QString FilePath() const { return _file_path; }
    // The whole displayed text and the stored value together.
    void setText(const QString &text);

    // --- Geometry and state ---
    QRectF _bounds;
    bool ctrl_is_locked = false;
    int ctrl_is_visible = 1;
    int print_object = 0;
    QString control_ID;
    QString Text_Value;
    QString _Text_contents;

    // --- Data binding ---
    int data_source_type = 0;   // 0 typed, 1 data series, 2 spreadsheet column
    QString batch_list_name;
    int batch_list_index = 0;
    int excel_col_indx = 0;
    bool excel_binding = false;

    // --- Stroke and fill ---
    bool _isDrawingStroke = true;
    QColor _strokeColor = Qt::black;
    double _strokeWidth = 1.0;
    QString _stroke_border_type = QStringLiteral("S");
    bool _isDrawingFill = false;
    QColor _fillColor = Qt::white;
    QString _fill_type = QStringLiteral("S");
    QColor _fill_Grad_clr1 = Qt::white;
    QColor _fill_Grad_clr2 = Qt::black;
    double _fill_grad_angle = 0.0;
    QColor _fill_htch_clr = Qt::white;
    QString _fill_hatch_type;
    float alpha_val = 100.0f;
    float alpha_val_stroke = 100.0f;

    // --- Shapes and lines ---
    QString _shape_type = QStringLiteral("R");
    float cor_rad_val_val = 10.0f;
    int double_star_type = 8;   // points of a multi-point star
    int polygon_type = 6;       // corners of a polygon
    int _line_cap_style = 0;    // 0 butt, 1 round, 2 square
    int _line_ori = 0;          // 0 horizontal, 1 vertical, 2 falling diagonal, 3 rising diagonal

    // --- Text ---
    QColor txt_clr = Qt::black;
    CardFont text_ctrl_font;
    int text_alignmnet = 0;     // 0 left, 1 right, 2 centred, 3 justified
    int text_transfrom_case = 0; // 0 as typed, 1 upper, 2 lower, 3 capitalised
    float text_kerning = 0.0f;

    // --- Pictures ---
    QString _file_path;
    QImage _image;              // the picture an image or signature element draws
    PictureBytes _image_bytes;  // what _image is stored as (the file it came from), see PictureBytes
    bool _isFlippedHorizontally = false;
    bool _isFlippedVertically = false;
    bool invert_clr = false;
    bool gray_Scale = false;
    bool Sepia = false;
    float img_trnsp_val = 100.0f;
    float rotate_image = 0.0f;
    float hue_val = 0.0f;
    float sat_val = 1.0f;
    float brt_val = 0.0f;
    float con_val = 1.0f;
    float srp_val = 0.0f;
    float ev_val = 0.0f;
    float blr_val = 0.0f;
    QString sign_or_fingureprint = QStringLiteral("S");

    // --- Barcode settings (every element carries them; only LMNBarcode draws them) ---
    int linear_or_2d = 0;
    int barcode_font_index = 0;
    QString linear_font_val;
    QString two_d_font_val;
    QString header_val;
    QString footer_val;
    int show_hide_hdr = 0;
    int show_hide_ftr = 0;
    int show_hide_val = 0;
    int show_val_on_top = 0;
    int align_hdr_index = 0;
    int align_ftr_index = 0;
    float linear_height_val = 0.0f;
    float linear_width_val = 0.0f;
    int qr_size_val = 0;
    int qr_version_index = 0;
    int qr_ec_index = 0;
    int pdf_hgt_val = 0;
    int pdf_wdt_val = 0;
    int pdf_ec_val = 0;
    int dm_module_val = 0;
    int dm_format_index = 0;
    int dm_encoding_index = 0;
    float hdr_margin_val = 0.0f;
    float ftr_margin_val = 0.0f;
    float val_margin_val = 0.0f;
    float TB_marging_val = 0.0f;
    float LR_margin_val = 0.0f;
    CardFont value_font_val;
    CardFont header_font_val;
    CardFont footer_font_val;
    QColor barcode_hdr_clr_val = Qt::black;
    QColor barcode_ftr_clr_val = Qt::black;
    QColor barcode_val_clr_val = Qt::black;
    QColor barcode_back_clr_val = Qt::white;
    QColor barcode_clr_val = Qt::black;
    int dpi_val_index = 0;
    QString dpi_custom_val;
    int kerning_value_val = 0;   // 1: a one-group caption stretched to the barcode width
    QImage _barcode_image;
    PictureBytes _barcode_image_bytes;

    // The stored form kept beside a picture field (_image or _barcode_image). It is no field
    // of its own in the archive: the picture's data is written from it.
    static PictureBytes LMNGraphic::*storedBytesOf(QImage LMNGraphic::*picture);

protected:
    // Takes `path` as _file_path and its picture as _image (PaintStyles::readPicture), stored
    // as the file's own bytes; an unreadable file leaves no picture.
    void readPictureFile(const QString &path);

    // The kind's own drawing, called with visibility already checked and the painter saved.
    virtual void drawContents(QPainter &painter, const DrawContext &context) const;

    // Shared pieces the kinds build on.
    // The fill brush of "S" (solid _fillColor) and "G" (gradient at _fill_grad_angle), and the
    // background colour of "H"; alpha_val applied. Unknown codes fill solid.
    QBrush fillBrush(const QRectF &area) const;
    // Fills `path` by _fill_type: solid, gradient, or hatch (the background colour, then the
    // pattern picture tiled from the element's origin, one picture pixel per point).
    void paintFill(QPainter &painter, const QPainterPath &path, const DrawContext &context) const;
    // Colour with alpha_val_stroke, width, dash code in points; flat caps, mitred joins.
    QPen strokePen() const;
    bool hasVisibleStroke() const { return _isDrawingStroke && _strokeWidth > 0; }
    // paintFill when _isDrawingFill, then the stroke when there is one.
    void fillAndStroke(QPainter &painter, const QPainterPath &path, const DrawContext &context) const;
    // The area a path covers once stroked with `pen` (joins and caps included).
    static QRectF strokedBounds(const QPainterPath &path, const QPen &pen);
    // Whether `point` lies on the stroke of `path` drawn with `pen`, at least `tolerance` points wide.
    static bool onStroke(const QPainterPath &path, const QPen &pen, const QPointF &point, double tolerance);
};
