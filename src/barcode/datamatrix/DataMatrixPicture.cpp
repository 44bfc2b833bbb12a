#include "barcode/datamatrix/DataMatrixPicture.h"

#include "barcode/BarcodeGlobals.h"
#include "barcode/BarcodeUnits.h"
#include "barcode/generator/ModuleGridPicture.h"

QByteArray DataMatrixPicture::makeEPS_Data_Matrix(const QByteArray &value, const ModuleGrid &grid)
{
    const int W = grid.width();
    const int H = grid.height();
    QByteArray eps;
    eps.reserve(512 + (W / 8 + 1) * 2 * H + H);
    eps += "%!PS-Adobe-3.0 EPSF-3.0\n";
    eps += "%%Creator: IEC16022 barcode/stamp generator\n";
    eps += "%%BarcodeData: " + value + "\n";
    eps += "%%BarcodeSize: " + QByteArray::number(W) + "x" + QByteArray::number(H) + "\n";
    eps += "%%BarcodeFormat: ECC200\n";
    eps += "%%DocumentData: Clean7Bit\n";
    eps += "%%LanguageLevel: 1\n";
    eps += "%%Pages: 1\n";
    eps += "%%BoundingBox: 0 0 " + QByteArray::number(W + 2) + " " + QByteArray::number(H + 2) + "\n";
    eps += "%%EndComments\n";
    eps += "%%Page: 1 1\n";
    eps += QByteArray::number(W) + " " + QByteArray::number(H) + " 1[1 0 0 1 -1 -1]{<\n";

    static constexpr char kHex[] = "0123456789ABCDEF";
    int counter = 0;
    // PostScript images start at the bottom row.
    for (int y = H - 1; y >= 0; --y) {
        for (int x = 0; x < W; x += 8) {
            int byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (x + bit < W && grid.get(x + bit, y))
                    byte |= 0x80 >> bit;
            byte ^= 0xFF; // dark modules are black (0)
            eps += kHex[byte >> 4];
            eps += kHex[byte & 15];
            ++counter;
        }
        eps += ' ';
        ++counter;
        if (counter >= 80) {
            eps += '\n';
            counter = 0;
        }
    }
    if (counter != 0)
        eps += '\n';
    eps += "\n>}image\n";
    return eps;
}

QImage DataMatrixPicture::makeImage(const ModuleGrid &grid)
{
    return makeImage(grid, Barcode_module_size.load(), USED_DPI_VALUE.load());
}

QImage DataMatrixPicture::makeImage(const ModuleGrid &grid, int moduleSize, double dpi)
{
    if (grid.isEmpty() || moduleSize < 1)
        return {};
    const QSizeF points(double(grid.width() + 2) * moduleSize, double(grid.height() + 2) * moduleSize);
    const QRectF symbol(moduleSize, moduleSize, double(grid.width()) * moduleSize, double(grid.height()) * moduleSize);
    // The quiet zone must get its pixel too.
    if (BarcodeUnits::pixelSize(points, dpi).width() < grid.width() + 2)
        return {};
    return ModuleGridPicture::render(grid, points, symbol, dpi, qRgb(255, 255, 255));
}
