#pragma once

#include <QList>
#include <QRectF>
#include <QString>

// The invitation wizard's answers, each trimmed; empty when not answered.
struct PartyAnswers
{
    QString title, to, message, date, time, venue, from;
};

// One text element of the party stack.
struct PartyElement
{
    QString controlId;   // "PARTY_TITLE", "PARTY_TO", ...
    QRectF rect;         // points, origin top-left of the front side
    QString text;
};

// Lays out the wizard's answers as a top-down stack of text elements on a card of the given
// width: title, addressee, message, date and time row, venue and sender. A date and a time
// given together share one element. Computed in single precision, as the layout always was.
class PartyLayout
{
public:
    static QList<PartyElement> layout(float cardWidth, const PartyAnswers &answers);

    // The stack fitted to a card `cardHeight` points high: where it already ends at least
    // `margin` above the bottom it is returned unchanged (factor 1); otherwise the running
    // offsets and heights are scaled by one factor so that the last element ends `margin` above
    // the bottom, left edges, widths and order kept. `factor` receives that factor.
    static QList<PartyElement> fitted(const QList<PartyElement> &stack, float cardHeight, float margin,
                                      float *factor = nullptr);

    // The font size of a placed element of a stack squeezed by `factor`: `size` when the element
    // still has room for its lines at that size, else lowered by the factor, never below 6 pt.
    static float fittedFontSize(const PartyElement &element, float size, float factor);

    static constexpr float kMargin = 8.0f;
    static constexpr float kSmallestFont = 6.0f;
};
