#pragma once

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

// The card sizes the editor offers, in millimetres. Sizes are given lying down (width at
// least the height): a "Horizontal" card uses them as they are, a "Vertical" one swapped.
struct CardSize
{
    QString name;
    double widthMM = 0.0;
    double heightMM = 0.0;

    QSizeF sizeInPoints(bool vertical = false) const;
};

// The two size lists of the card-size table: PVC cards (ISO/IEC 7810 and the CR sizes of
// card printers) and paper cards (ISO 216 sheets, North American sheets and greeting cards).
class CardSizeCatalog
{
public:
    static const QList<CardSize> &pvcCards();
    static const QList<CardSize> &paperCards();

    // The names alone, in list order; the first PVC name is "CR80-Credit Card Size".
    static QStringList pvc_card_arry();
    static QStringList paper_card_arry();

    // A size of either list by its name.
    static std::optional<CardSize> find(const QString &name);

    // Millimetres to points (72 per inch).
    static double MM_to_Points_Convert(float millimetres);
};
