#pragma once

#include "editor/CardDesign.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

// How a text element looks: font, colour and alignment (0 left, 1 right, 2 centred).
struct TextStyle
{
    CardFont font;
    QColor colour = Qt::black;
    int alignment = 2;
};

// The building blocks of the stock templates: designs made of the editor's own records and
// elements, written as the editor's "Save as Template" writes them (a design file and a
// preview picture of the same base name).
//
// Every picture comes from the shipped resource folder given at construction. Backgrounds are
// stored by their path inside that folder ("Background/Starry Night.jpg"), which the editor
// resolves against the user's resource folder when the design is opened; element pictures
// travel inside the design file.
//
// Whatever would not look as intended on the card (a line of text wider than its element, an
// element off the card, a missing picture) is collected in problems() rather than written.
class TemplateKit
{
public:
    explicit TemplateKit(QString seedFolder);

    QString seedFolder() const { return m_seed; }
    QStringList problems() const { return m_problems; }

    // A new design on a paper card of the size list ("A7 Greeting Card (7 x 5 in)"), standing
    // up or lying down, one- or two-sided, with white sides.
    CardDesign newDesign(const QString &name, const QString &sizeName, bool vertical, bool twoSided);

    // The side's fill: a picture of "Background" stretched over the card, a two-colour
    // gradient at `degrees`, or a pattern of "Fill_Style_Image" over `background`.
    void pictureBackground(Card_Property &record, const QString &fileName);
    static void gradientBackground(Card_Property &record, const QColor &from, const QColor &to, int degrees);
    void hatchBackground(Card_Property &record, const QString &pattern, const QColor &background);

    // A text element `width` points wide whose top edge is `top`, exactly as tall as its lines.
    // Lines are broken by hand ("\n"): one wider than the element is a problem.
    GraphicPtr text(const QString &controlId, const QString &text, const TextStyle &style, double left, double top,
                    double width);
    // The same, centred on the vertical line `centreX`.
    GraphicPtr centredText(const QString &controlId, const QString &text, const TextStyle &style, double centreX,
                           double top, double width);

    // A shape ("R", "RR", "C", "D", "S", "DS", ...) filled with `fill` (none when invalid)
    // and outlined with `stroke` (none when invalid or `strokeWidth` is 0).
    static GraphicPtr shape(const QString &code, const QRectF &rect, const QColor &fill, const QColor &stroke = {},
                            double strokeWidth = 0.0);
    // A horizontal or vertical line across `rect`.
    static GraphicPtr line(const QRectF &rect, const QColor &colour, double width, bool vertical = false);
    // A picture of "LibraryImage" ("Cakes/Birthday Cake.png"), as large as fits `box` at its own
    // proportions, centred in it.
    GraphicPtr picture(const QString &libraryPath, const QRectF &box);

    // Writes "<name>.dcard" and "<name>.png" into `folder`, after checking that every element
    // lies on its card side. False, with the reason in `error`, on failure.
    bool write(const CardDesign &design, const QString &folder, QString *error);

    // The preview as the editor makes it: the front at 72 dots per inch and, on a two-sided
    // card with a back, the back beneath it.
    QImage preview(const CardDesign &design) const;

private:
    QImage renderSide(const CardDesign &design, bool back) const;
    void checkOnCard(const CardDesign &design, const GraphicList &side, const QString &sideName);

    QString m_seed;
    QStringList m_problems;
    QString m_current;   // name of the design being built, for problem messages
};
