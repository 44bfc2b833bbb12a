#pragma once

#include "document/LMNGraphic.h"

#include <QImage>
#include <QString>

// The picture of a bound barcode element for one record's value, made from the element's own
// barcode settings (so two barcodes on a card each keep theirs for every record). Safe on any
// thread: it reads only the element it is given.
class BoundBarcode
{
public:
    // A null picture and the reason when the value cannot be encoded.
    static QImage picture(const LMNGraphic &barcode, const QString &value, QString *failure = nullptr);
};
