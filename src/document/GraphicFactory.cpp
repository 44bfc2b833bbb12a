#include "document/GraphicFactory.h"

#include "document/LMNImage.h"

#include <QFileInfo>

GraphicKind GraphicFactory::kindForTool(int tool)
{
    switch (tool) {
    case LineTool: return GraphicKind::Line;
    case TextTool: return GraphicKind::Text;
    case RectangleTool:
    case CircleTool:
    case RoundedRectangleTool:
    case TriangleTool:
    case DiamondTool:
    case StarTool:
    case MultiPointStarTool:
    case PolygonTool: return GraphicKind::Shape;
    case PictureFileTool:
    case PictureLibraryTool: return GraphicKind::Image;
    case BarcodeTool: return GraphicKind::Barcode;
    case SignatureTool:
    case FingerprintTool: return GraphicKind::Signature;
    default: return GraphicKind::Graphic;
    }
}

QString GraphicFactory::shapeCodeForTool(int tool)
{
    switch (tool) {
    case RectangleTool: return QStringLiteral("R");
    case CircleTool: return QStringLiteral("C");
    case RoundedRectangleTool: return QStringLiteral("RR");
    case TriangleTool: return QStringLiteral("T");
    case DiamondTool: return QStringLiteral("D");
    case StarTool: return QStringLiteral("S");
    case MultiPointStarTool: return QStringLiteral("DS");
    case PolygonTool: return QStringLiteral("P");
    default: return {};
    }
}

QString GraphicFactory::toolName(int tool)
{
    switch (tool) {
    case ArrowTool: return QStringLiteral("Arrow");
    case LineTool: return QStringLiteral("Line");
    case TextTool: return QStringLiteral("Text");
    case RectangleTool: return QStringLiteral("Rectangle");
    case CircleTool: return QStringLiteral("Circle");
    case RoundedRectangleTool: return QStringLiteral("Rounded rectangle");
    case TriangleTool: return QStringLiteral("Triangle");
    case DiamondTool: return QStringLiteral("Diamond");
    case PictureFileTool: return QStringLiteral("Picture");
    case PictureLibraryTool: return QStringLiteral("Library picture");
    case BarcodeTool: return QStringLiteral("Barcode");
    case SignatureTool: return QStringLiteral("Signature");
    case FingerprintTool: return QStringLiteral("Fingerprint");
    case StarTool: return QStringLiteral("Star");
    case MultiPointStarTool: return QStringLiteral("Multi-point star");
    case PolygonTool: return QStringLiteral("Polygon");
    default: return {};
    }
}

static void styleParty(LMNGraphic &text, const QString &ctrlID)
{
    if (!ctrlID.contains(QLatin1String("PARTY_")))
        return;
    static const QStringList centred = {QStringLiteral("PARTY_TITLE"), QStringLiteral("PARTY_DATE"),
                                        QStringLiteral("PARTY_TIME"), QStringLiteral("PARTY_VENUE"),
                                        QStringLiteral("PARTY_MARRINGE_INFO")};
    if (centred.contains(ctrlID))
        text.text_alignmnet = 2;
    else if (ctrlID == QLatin1String("PARTY_FROM"))
        text.text_alignmnet = 1;
    if (ctrlID == QLatin1String("PARTY_TITLE") || ctrlID == QLatin1String("PARTY_MARRINGE_INFO"))
        text.text_ctrl_font = CardFont(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 18.0);
}

GraphicPtr GraphicFactory::makeGraphic(GraphicKind kind, int tool, const QString &ctrlValue, const QString &ctrlID,
                                       const NewGraphicDefaults &defaults)
{
    GraphicPtr graphic;
    switch (tool) {
    case PictureFileTool: {
        auto image = std::make_shared<LMNImage>();
        if (QFileInfo(defaults.libraryImagePath).isFile()) {
            image->setFilePath(defaults.libraryImagePath);
        } else {
            image->_file_path = defaults.libraryImagePath;
            image->_image = defaults.placeholderPicture;
        }
        graphic = image;
        break;
    }
    case PictureLibraryTool: {
        auto image = std::make_shared<LMNImage>();
        image->setFilePath(defaults.libraryImagePath);
        graphic = image;
        break;
    }
    case BarcodeTool:
        graphic = LMNGraphic::create(GraphicKind::Barcode);
        break;
    case SignatureTool:
    case FingerprintTool:
        graphic = LMNGraphic::create(GraphicKind::Signature);
        graphic->sign_or_fingureprint = tool == SignatureTool ? QStringLiteral("S") : QStringLiteral("F");
        break;
    default:
        graphic = LMNGraphic::create(kind);
        if (const QString code = shapeCodeForTool(tool); !code.isEmpty())
            graphic->_shape_type = code;
        break;
    }

    if (!defaults.contentFont.isNull())
        graphic->text_ctrl_font = defaults.contentFont;
    if (defaults.contentColor.isValid())
        graphic->txt_clr = defaults.contentColor;

    if (graphic->kind() == GraphicKind::Text && !ctrlValue.isEmpty()) {
        graphic->setText(ctrlValue);
        graphic->_isDrawingFill = false;
        graphic->_isDrawingStroke = false;
        styleParty(*graphic, ctrlID);
    }
    graphic->control_ID = ctrlID;
    return graphic;
}
