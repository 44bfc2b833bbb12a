#include "barcode/linear/LinearBarcodes.h"

#include "barcode/linear/JapanPostBarcode.h"
#include "barcode/linear/NKDCodabarBarcode.h"
#include "barcode/linear/NKDCode128Barcode.h"
#include "barcode/linear/NKDEAN8Barcode.h"
#include "barcode/linear/NKDExtendedCode39Barcode.h"
#include "barcode/linear/NKDIndustrialTwoOfFiveBarcode.h"
#include "barcode/linear/NKDModifiedPlesseyHexBarcode.h"
#include "barcode/linear/NKDPlanetBarcode.h"
#include "barcode/linear/NKDRoyalMailBarcode.h"
#include "barcode/linear/NKDUPCEBarcode.h"

namespace LinearBarcodes {

namespace {

struct Entry
{
    const char *title;
    std::unique_ptr<NKDBarcode> (*make)();
};

template<typename T>
std::unique_ptr<NKDBarcode> make()
{
    return std::make_unique<T>();
}

template<int Set>
std::unique_ptr<NKDBarcode> makeCode128()
{
    auto barcode = std::make_unique<NKDCode128Barcode>();
    barcode->setCodeSet(Set);
    return barcode;
}

constexpr Entry kEntries[] = {
    {"Code 39", make<NKDCode39Barcode>},
    {"Extended Code 39", make<NKDExtendedCode39Barcode>},
    {"Interleaved 2 of 5", make<NKDInterleavedTwoOfFiveBarcode>},
    {"UPCA", make<NKDUPCABarcode>},
    {"PostNet", make<NKDPostnetBarcode>},
    {"Modified Plessey", make<NKDModifiedPlesseyBarcode>},
    {"Modified Plessey (Hex)", make<NKDModifiedPlesseyHexBarcode>},
    {"Industrial 2 of 5", make<NKDIndustrialTwoOfFiveBarcode>},
    {"EAN-13", make<NKDEAN13Barcode>},
    {"Code 128", makeCode128<NKDCode128Barcode::Automatic>},
    {"Code 128 SET A", makeCode128<NKDCode128Barcode::SetA>},
    {"Code 128 SET B", makeCode128<NKDCode128Barcode::SetB>},
    {"Code 128 SET C", makeCode128<NKDCode128Barcode::SetC>},
    {"Codabar", make<NKDCodabarBarcode>},
    {"UPCE", make<NKDUPCEBarcode>},
    {"EAN-8", make<NKDEAN8Barcode>},
    {"Royal Mail Barcode (RM4SCC / CBC)", make<NKDRoyalMailBarcode>},
    {"Planet", make<NKDPlanetBarcode>},
    {"Japan Post Barcode", make<JapanPostBarcode>},
};

} // namespace

QStringList titles()
{
    QStringList list;
    for (const Entry &entry : kEntries)
        list << QString::fromLatin1(entry.title);
    return list;
}

std::unique_ptr<NKDBarcode> allocate(const QString &title)
{
    for (const Entry &entry : kEntries) {
        if (title == QLatin1String(entry.title))
            return entry.make();
    }
    return nullptr;
}

std::unique_ptr<NKDBarcode> create(const QString &title, const QString &content, bool printsCaption,
                                   const BarcodeSettings &settings)
{
    std::unique_ptr<NKDBarcode> barcode = allocate(title);
    if (!barcode)
        return nullptr;
    barcode->setSettings(settings);
    if (!barcode->initWithContent(content, printsCaption))
        return nullptr;
    return barcode;
}

} // namespace LinearBarcodes
