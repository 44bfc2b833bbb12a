#pragma once

#include <QString>
#include <QStringList>

// The item lists of the barcode designer whose index a barcode element stores. Their order is
// part of every saved design (docs/element-archive.md): append, never reorder.
namespace BarcodeLists {

// The 22 symbology titles: the linear and postal codes, then "QR Code", "PDF417", "DataMatrix".
QStringList symbologyTitles();
// Whether a title is one of the three two-dimensional symbologies.
bool isTwoDimensional(const QString &title);
// The title at a stored index; empty outside the list.
QString symbologyTitle(int index);

// "Auto", then "V1" to "V40": index 0 automatic, index n version n.
QStringList qrVersions();
// "L", "M", "Q", "H": index = error correction level.
QStringList qrErrorCorrectionLevels();
// "Auto", then the 24 square and 6 rectangular DataMatrix sizes as "C<rows>X<columns>".
QStringList dataMatrixFormats();
// "Auto", "Ascii", "C40", "Text", "Base256".
QStringList dataMatrixEncodings();
// "Left", "Center", "Right": header and footer text alignment.
QStringList textAlignments();
// "Auto", "72", "150", "300", "600", "1200", "Custom".
QStringList resolutions();
// "Manual", "Series", "Excel": data source of the value (kind 0, 1, 2).
QStringList dataSources();

// Rows and columns of a DataMatrix format item ("C8X18": 8 and 18); 0 and 0 for "Auto" or an
// item without "X".
void dataMatrixSize(const QString &format, int *rows, int *columns);

// Custom resolutions the designer accepts, in dots per inch.
constexpr int kMinResolution = 72;
constexpr int kMaxResolution = 2400;
// The resolution "Auto" stands for.
constexpr int kAutoResolution = 600;

} // namespace BarcodeLists
