#include "barcode/BarcodeLists.h"

#include "barcode/linear/LinearBarcodes.h"

namespace BarcodeLists {

QStringList symbologyTitles()
{
    QStringList titles = LinearBarcodes::titles();
    titles << QStringLiteral("QR Code") << QStringLiteral("PDF417") << QStringLiteral("DataMatrix");
    return titles;
}

bool isTwoDimensional(const QString &title)
{
    return title == QLatin1String("QR Code") || title == QLatin1String("PDF417") || title == QLatin1String("DataMatrix");
}

QString symbologyTitle(int index)
{
    static const QStringList titles = symbologyTitles();
    return titles.value(index);
}

QStringList qrVersions()
{
    QStringList items{QStringLiteral("Auto")};
    for (int version = 1; version <= 40; ++version)
        items << QStringLiteral("V%1").arg(version);
    return items;
}

QStringList qrErrorCorrectionLevels()
{
    return {QStringLiteral("L"), QStringLiteral("M"), QStringLiteral("Q"), QStringLiteral("H")};
}

QStringList dataMatrixFormats()
{
    return {QStringLiteral("Auto"),     QStringLiteral("C10X10"),   QStringLiteral("C12X12"),
            QStringLiteral("C14X14"),   QStringLiteral("C16X16"),   QStringLiteral("C18X18"),
            QStringLiteral("C20X20"),   QStringLiteral("C22X22"),   QStringLiteral("C24X24"),
            QStringLiteral("C26X26"),   QStringLiteral("C32X32"),   QStringLiteral("C36X36"),
            QStringLiteral("C40X40"),   QStringLiteral("C44X44"),   QStringLiteral("C48X48"),
            QStringLiteral("C52X52"),   QStringLiteral("C64X64"),   QStringLiteral("C72X72"),
            QStringLiteral("C80X80"),   QStringLiteral("C88X88"),   QStringLiteral("C96X96"),
            QStringLiteral("C104X104"), QStringLiteral("C120X120"), QStringLiteral("C132X132"),
            QStringLiteral("C144X144"), QStringLiteral("C8X18"),    QStringLiteral("C8X32"),
            QStringLiteral("C12X26"),   QStringLiteral("C12X36"),   QStringLiteral("C16X36"),
            QStringLiteral("C16X48")};
}

QStringList dataMatrixEncodings()
{
    return {QStringLiteral("Auto"), QStringLiteral("Ascii"), QStringLiteral("C40"), QStringLiteral("Text"),
            QStringLiteral("Base256")};
}

QStringList textAlignments()
{
    return {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")};
}

QStringList resolutions()
{
    return {QStringLiteral("Auto"), QStringLiteral("72"),   QStringLiteral("150"),   QStringLiteral("300"),
            QStringLiteral("600"),  QStringLiteral("1200"), QStringLiteral("Custom")};
}

QStringList dataSources()
{
    return {QStringLiteral("Manual"), QStringLiteral("Series"), QStringLiteral("Excel")};
}

void dataMatrixSize(const QString &format, int *rows, int *columns)
{
    *rows = 0;
    *columns = 0;
    if (format == QLatin1String("Auto") || format.isEmpty())
        return;
    const QString rest = format.mid(1);
    const qsizetype x = rest.indexOf(QLatin1Char('X'));
    if (x < 0)
        return;
    *rows = rest.left(x).trimmed().toInt();
    *columns = rest.mid(x + 1).trimmed().toInt();
}

} // namespace BarcodeLists
