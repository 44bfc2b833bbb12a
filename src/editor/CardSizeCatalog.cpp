#include "editor/CardSizeCatalog.h"

namespace {

constexpr double PointsPerMillimetre = 2.834645669291;
constexpr double MillimetresPerInch = 25.4;

CardSize inches(const char *name, double width, double height)
{
    return {QString::fromUtf8(name), width * MillimetresPerInch, height * MillimetresPerInch};
}

CardSize millimetres(const char *name, double width, double height)
{
    return {QString::fromUtf8(name), width, height};
}

QStringList namesOf(const QList<CardSize> &sizes)
{
    QStringList names;
    names.reserve(sizes.size());
    for (const CardSize &size : sizes)
        names << size.name;
    return names;
}

} // namespace

QSizeF CardSize::sizeInPoints(bool vertical) const
{
    const QSizeF points(CardSizeCatalog::MM_to_Points_Convert(float(widthMM)),
                        CardSizeCatalog::MM_to_Points_Convert(float(heightMM)));
    return vertical ? points.transposed() : points;
}

const QList<CardSize> &CardSizeCatalog::pvcCards()
{
    static const QList<CardSize> sizes = {
        millimetres("CR80-Credit Card Size", 85.60, 53.98),            // ISO/IEC 7810 ID-1
        inches("CR79-Adhesive Back Card Size", 3.303, 2.051),
        inches("CR90-Oversized Card Size", 3.63, 2.37),
        inches("CR100-Oversized Military Card Size", 3.88, 2.63),
        millimetres("ID-2-Identity Card Size", 105.0, 74.0),           // ISO/IEC 7810 ID-2
        millimetres("ID-3-Passport Card Size", 125.0, 88.0),           // ISO/IEC 7810 ID-3
        inches("US Business Card Size", 3.5, 2.0),
        millimetres("European Business Card Size", 85.0, 55.0),
    };
    return sizes;
}

const QList<CardSize> &CardSizeCatalog::paperCards()
{
    static const QList<CardSize> sizes = {
        millimetres("A4 Sheet", 297.0, 210.0),
        millimetres("A5 Card", 210.0, 148.0),
        millimetres("A6 Card", 148.0, 105.0),
        millimetres("A7 Card", 105.0, 74.0),
        millimetres("DL Card", 210.0, 99.0),
        millimetres("Square Card", 150.0, 150.0),
        inches("US Letter Sheet", 11.0, 8.5),
        inches("Half Letter Card", 8.5, 5.5),
        inches("A2 Greeting Card (5.5 x 4.25 in)", 5.5, 4.25),
        inches("A7 Greeting Card (7 x 5 in)", 7.0, 5.0),
        inches("Postcard (6 x 4 in)", 6.0, 4.0),
    };
    return sizes;
}

QStringList CardSizeCatalog::pvc_card_arry()
{
    return namesOf(pvcCards());
}

QStringList CardSizeCatalog::paper_card_arry()
{
    return namesOf(paperCards());
}

std::optional<CardSize> CardSizeCatalog::find(const QString &name)
{
    for (const QList<CardSize> *list : {&pvcCards(), &paperCards()})
        for (const CardSize &size : *list)
            if (size.name == name)
                return size;
    return std::nullopt;
}

double CardSizeCatalog::MM_to_Points_Convert(float millimetres)
{
    return double(millimetres) * PointsPerMillimetre;
}
