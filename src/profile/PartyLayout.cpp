#include "profile/PartyLayout.h"

#include <algorithm>
#include <cmath>

QList<PartyElement> PartyLayout::layout(float cardWidth, const PartyAnswers &answers)
{
    QList<PartyElement> stack;
    const float width = cardWidth - 80.0f;
    const float centred = (cardWidth - width) / 2.0f;
    float y = 40.0f;
    auto place = [&](const char *id, float x, float height, const QString &text) {
        stack.append({QLatin1String(id), QRectF(x, y, width, height), text});
    };

    if (!answers.title.isEmpty()) {
        place("PARTY_TITLE", centred, 30, answers.title);
        y += 50;
    }
    const float left = 30.0f;
    if (!answers.to.isEmpty()) {
        place("PARTY_TO", left, 20, QStringLiteral("Dear ") + answers.to + QStringLiteral(","));
        y += 30;
    }
    if (!answers.message.isEmpty()) {
        place("PARTY_MSG", left + 20, 80, answers.message);
        y += 80;
    }
    if (!answers.date.isEmpty()) {
        QString text = answers.date;
        if (!answers.time.isEmpty())
            text += QStringLiteral(" at ") + answers.time;
        place("PARTY_DATE", left, 20, text);
        y += 30;
    } else if (!answers.time.isEmpty()) {
        place("PARTY_TIME", left, 20, QStringLiteral("AT ") + answers.time);
        y += 60;
    } else {
        y += 30;
    }
    if (!answers.venue.isEmpty()) {
        place("PARTY_VENUE", left, 60, QStringLiteral("Venue:\n") + answers.venue);
        y += 70;
    } else {
        y += 20;
    }
    if (!answers.from.isEmpty())
        place("PARTY_FROM", centred, 40, QStringLiteral("From:\n") + answers.from);
    return stack;
}

QList<PartyElement> PartyLayout::fitted(const QList<PartyElement> &stack, float cardHeight, float margin,
                                        float *factor)
{
    float bottom = 0.0f;
    for (const PartyElement &element : stack)
        bottom = std::max(bottom, float(element.rect.bottom()));
    const float room = std::max(cardHeight - margin, 1.0f);
    const float scale = bottom > room ? room / bottom : 1.0f;
    if (factor)
        *factor = scale;
    if (scale >= 1.0f)
        return stack;
    QList<PartyElement> squeezed = stack;
    for (PartyElement &element : squeezed) {
        const QRectF r = element.rect;
        element.rect = QRectF(r.x(), r.y() * scale, r.width(), r.height() * scale);
    }
    return squeezed;
}

float PartyLayout::fittedFontSize(const PartyElement &element, float size, float factor)
{
    if (factor >= 1.0f)
        return size;
    // A line of text needs about 1.2 times its point size, and a character about half of it
    // across: long lines wrap onto more lines.
    const float width = std::max(float(element.rect.width()), 1.0f);
    float lines = 0.0f;
    for (const QString &paragraph : element.text.split(QLatin1Char('\n')))
        lines += std::max(1.0f, std::ceil(float(paragraph.size()) * size * 0.5f / width));
    if (float(element.rect.height()) >= lines * size * 1.2f)
        return size;
    return std::max(size * factor, kSmallestFont);
}
