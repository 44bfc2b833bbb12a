#include "barcode/BarcodeSettings.h"

Qt::Alignment BarcodeSettings::alignmentFromName(const QString &name)
{
    if (name == QLatin1String("Left"))
        return Qt::AlignLeft;
    if (name == QLatin1String("Center"))
        return Qt::AlignHCenter;
    if (name == QLatin1String("Right"))
        return Qt::AlignRight;
    // The default paragraph style of the platform the designs come from is natural (left) alignment.
    return Qt::AlignLeft;
}
