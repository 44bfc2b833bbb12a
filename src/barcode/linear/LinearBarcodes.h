#pragma once

#include "barcode/linear/NKDBarcode.h"

#include <QStringList>

#include <memory>

// The linear and postal symbologies by the designer's titles.
namespace LinearBarcodes {

// The titles, in the designer's order ("Code 39", ..., "Japan Post Barcode").
QStringList titles();

// A fresh barcode object of the class a title stands for, the code set fixed for the Code 128
// titles, not yet initialised; null for a title that is not a linear symbology.
std::unique_ptr<NKDBarcode> allocate(const QString &title);

// allocate(), then the settings and initWithContent(content, printsCaption): null for an
// unknown title or a null content. Whether the symbology can encode the content is
// isContentValid()'s answer.
std::unique_ptr<NKDBarcode> create(const QString &title, const QString &content, bool printsCaption,
                                   const BarcodeSettings &settings = {});

} // namespace LinearBarcodes
