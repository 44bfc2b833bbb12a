#pragma once

#include <QFont>
#include <QString>

// A font as cards store it: a PostScript name ("TimesNewRomanPS-BoldItalicMT") and a size
// in points. Designs keep the PostScript name so that they read the same on every machine;
// toQFont() resolves it to an installed family (fonts-liberation stands in for Times New
// Roman and Arial with the same metrics).
struct CardFont
{
    QString postScriptName;
    double pointSize = 0.0;

    CardFont() = default;
    CardFont(QString name, double size) : postScriptName(std::move(name)), pointSize(size) {}

    bool isNull() const { return postScriptName.isEmpty(); }

    // The family part of the PostScript name in words: "TimesNewRomanPS-ItalicMT" -> "Times New Roman".
    QString familyName() const;
    bool isBold() const;
    bool isItalic() const;

    // A QFont for drawing at `pointSize` points; pixel-exact at 72 dpi, so callers scale the painter.
    QFont toQFont() const;

    // The nearest PostScript name for a QFont the user picked (family and style), at its size.
    static CardFont fromQFont(const QFont &font);

    friend bool operator==(const CardFont &, const CardFont &) = default;
};
