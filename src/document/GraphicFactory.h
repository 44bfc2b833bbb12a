#pragma once

#include "document/LMNGraphic.h"

#include <QColor>
#include <QImage>
#include <QString>

// What a new element takes from the editor: its content font and colour, the placeholder
// picture for a missing picture file, and the picture file the picture tools use.
struct NewGraphicDefaults
{
    CardFont contentFont;
    QColor contentColor = Qt::black;
    QImage placeholderPicture;   // the editor's no_image
    QString libraryImagePath;    // Library_Selected_Image
};

// The kind and styling rules of the element factory, apart from placing (which the canvas
// does): which kind a drawing tool makes, its shape code, the text and "PARTY_" styling.
class GraphicFactory
{
public:
    // The drawing tools (Selected_Control_Tool).
    enum Tool {
        ArrowTool = 0, LineTool, TextTool, RectangleTool, CircleTool, RoundedRectangleTool, TriangleTool,
        DiamondTool, PictureFileTool, PictureLibraryTool, BarcodeTool, SignatureTool, FingerprintTool,
        StarTool, MultiPointStarTool, PolygonTool,
        ToolCount
    };

    // The kind a tool draws with the mouse; the arrow draws nothing (Graphic).
    static GraphicKind kindForTool(int tool);
    // The shape code of a shape tool ("R", "C", "RR", "T", "D", "S", "DS", "P"); empty for others.
    static QString shapeCodeForTool(int tool);
    // A short name of the tool for buttons and menus.
    static QString toolName(int tool);

    // A new element as the factory makes it for the current tool: the picture, barcode,
    // signature and fingerprint tools decide the kind themselves, every other tool makes
    // `kind` (with the tool's shape code). A text element given a value shows it with fill
    // and stroke off and is styled from a "PARTY_" identifier. The element carries `ctrlID`;
    // its bounds are left to the caller.
    static GraphicPtr makeGraphic(GraphicKind kind, int tool, const QString &ctrlValue, const QString &ctrlID,
                                  const NewGraphicDefaults &defaults);
};
