#include "data/SeriesGenerator.h"

#include <QRandomGenerator>

#include <limits>

std::optional<qint32> SeriesGenerator::integerValue(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    for (; i < n && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

int SeriesGenerator::intValue(const QString &text)
{
    return integerValue(text).value_or(0);
}

QString SeriesGenerator::PadZero(const QString &text, int length)
{
    if (text.size() >= length)
        return text;
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString zeros(length - text.size(), QLatin1Char('0'));
    return negative ? QLatin1Char('-') + zeros + text.mid(1) : zeros + text;
}

qint64 SeriesGenerator::getRandomNumberBetweenMin(qint64 min, qint64 max)
{
    if (max <= min)
        return min;
    return QRandomGenerator::global()->bounded(min, max + 1);
}

QString SeriesGenerator::cleanNumberField(const QString &typed, int maxChars, int maxValue)
{
    const QString t = typed.trimmed();
    QString field = typed;
    if (t.isEmpty() || intValue(t) == 0)
        field = QStringLiteral("1");
    if (t.size() > maxChars)
        field = t.left(maxChars);
    if (intValue(field) > maxValue)
        field = QString::number(maxValue);
    return field;
}

int SeriesGenerator::randomLength(const QString &text)
{
    const QString t = text.trimmed();
    if (t.size() == 1 && t.at(0) >= QLatin1Char('1') && t.at(0) <= QLatin1Char('9'))
        return t.at(0).unicode() - '0';
    return 0;
}

QString SeriesGenerator::validate(const Request &r, Field *focus)
{
    const auto refuse = [focus](Field field, const char *message) {
        if (focus)
            *focus = field;
        return QString::fromUtf8(message);
    };
    const QString tooMany = QStringLiteral("A series can hold at most 1,000,000 values.");
    switch (r.mode) {
    case Mode::Sequential: {
        const auto from = integerValue(r.from);
        const auto to = integerValue(r.to);
        if (r.from.isEmpty() || !from)
            return refuse(Field::From, "Please enter valid 'From' value.");
        if (r.to.isEmpty() || !to)
            return refuse(Field::To, "Please enter valid 'To' value.");
        if (*from >= *to)
            return refuse(Field::From, "'From' value must be smaller than 'To' value.");
        if (qint64(*to) - qint64(*from) + 1 > MaxValues) {
            if (focus)
                *focus = Field::To;
            return tooMany;
        }
        break;
    }
    case Mode::Constant:
        if (r.value.isEmpty())
            return refuse(Field::Value, "Please enter valid 'Value'.");
        if (r.count.isEmpty() || intValue(r.count) < 1)
            return refuse(Field::Count, "Please enter valid 'Count' value.");
        if (intValue(r.count) > MaxValues) {
            if (focus)
                *focus = Field::Count;
            return tooMany;
        }
        break;
    case Mode::Random:
        if (r.randCount.isEmpty() || intValue(r.randCount) < 1)
            return refuse(Field::Count, "Please enter valid 'Count' value.");
        if (r.length.isEmpty() || randomLength(r.length) == 0)
            return refuse(Field::Length, "Please enter valid 'Length' value.");
        if (intValue(r.randCount) > MaxValues) {
            if (focus)
                *focus = Field::Count;
            return tooMany;
        }
        break;
    }
    if (focus)
        *focus = Field::None;
    return {};
}

QStringList SeriesGenerator::generate(const Request &r)
{
    QStringList values;
    if (!validate(r).isEmpty())
        return values;
    switch (r.mode) {
    case Mode::Sequential: {
        const qint64 from = *integerValue(r.from);
        const qint64 to = *integerValue(r.to);
        const int width = int(qMax(r.from.size(), r.to.size()));
        values.reserve(to - from + 1);
        for (qint64 n = from; n <= to; ++n) {
            QString number = QString::number(n);
            if (r.zeroFill)
                number = PadZero(number, width);
            values.append(r.prefix + number + r.suffix);
        }
        break;
    }
    case Mode::Constant: {
        const int count = intValue(r.count);
        values.reserve(count);
        for (int i = 0; i < count; ++i)
            values.append(r.value);
        break;
    }
    case Mode::Random: {
        const int count = intValue(r.randCount);
        const int digits = randomLength(r.length);
        qint64 low = 1;
        for (int i = 1; i < digits; ++i)
            low *= 10;
        const qint64 high = low * 10 - 1;
        values.reserve(count);
        for (int i = 0; i < count; ++i)
            values.append(r.randPrefix + QString::number(getRandomNumberBetweenMin(digits == 1 ? 1 : low, high))
                          + r.randSuffix);
        break;
    }
    }
    return values;
}
