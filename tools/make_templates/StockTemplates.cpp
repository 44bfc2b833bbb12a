#include "StockTemplates.h"

#include "TemplateKit.h"

namespace {

// The card fonts: PostScript names the editor resolves to installed faces (Liberation Serif
// and Liberation Sans stand in for Times New Roman and Arial with the same metrics).
CardFont serif(double size)
{
    return CardFont(QStringLiteral("TimesNewRomanPSMT"), size);
}
CardFont serifItalic(double size)
{
    return CardFont(QStringLiteral("TimesNewRomanPS-ItalicMT"), size);
}
CardFont serifBoldItalic(double size)
{
    return CardFont(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), size);
}
CardFont sans(double size)
{
    return CardFont(QStringLiteral("ArialMT"), size);
}
CardFont sansBold(double size)
{
    return CardFont(QStringLiteral("Arial-BoldMT"), size);
}
CardFont sansItalic(double size)
{
    return CardFont(QStringLiteral("Arial-ItalicMT"), size);
}

TextStyle style(const CardFont &font, const QColor &colour, int alignment = 2)
{
    return TextStyle{font, colour, alignment};
}

QColor translucent(const QColor &colour, double alpha)
{
    QColor c = colour;
    c.setAlphaF(float(alpha));
    return c;
}

// The side's all-text font and colour: what text the user adds to the design starts with.
void contentStyle(Card_Property &record, const TextStyle &body)
{
    record.Card_Content_font = body.font;
    record.Card_Content_clr = body.colour;
}

// A one-sided postcard on a shipped background picture, its text defaulting to `body`.
CardDesign postcard(TemplateKit &kit, const QString &name, const QString &picture, const TextStyle &body)
{
    CardDesign design = kit.newDesign(name, QStringLiteral("Postcard (6 x 4 in)"), false, false);
    kit.pictureBackground(design.Front_card_Prop, picture);
    contentStyle(design.Front_card_Prop, body);
    return design;
}

// The vertical centre line of the card.
double middle(const CardDesign &design)
{
    return design.Front_card_Prop.Card_Size.width() / 2.0;
}

// Elements that only dress the card (frames, panels, tints) are locked, so a click meant for
// the text on them does not drag them away.
GraphicPtr locked(GraphicPtr element)
{
    element->ctrl_is_locked = true;
    return element;
}

// One side's elements, collected bottom first; each is handed back for placing the next.
class SideElements
{
public:
    GraphicPtr add(GraphicPtr element)
    {
        m_paintOrder << element;
        return element;
    }
    // Designs keep the topmost element first.
    GraphicList topmostFirst() const { return GraphicList(m_paintOrder.crbegin(), m_paintOrder.crend()); }

private:
    GraphicList m_paintOrder;
};

double below(const GraphicPtr &element, double gap)
{
    return element->bounds().bottom() + gap;
}

}   // namespace

QList<CardDesign> StockTemplates::all(TemplateKit &kit)
{
    return {balloonParty(kit),  birthdayDinner(kit), floralWishes(kit),
            surpriseParty(kit), starryNight(kit),    cardWithMessage(kit)};
}

// A children's party: the balloon bouquet fills the upper right, the invitation reads down
// the left, and the practical details sit on a panel across the bottom.
CardDesign StockTemplates::balloonParty(TemplateKit &kit)
{
    CardDesign design = kit.newDesign(QStringLiteral("Balloon Party Invitation"),
                                      QStringLiteral("A7 Greeting Card (7 x 5 in)"), true, false);
    kit.pictureBackground(design.Front_card_Prop, QStringLiteral("Balloon Bouquet.jpg"));
    const QColor coral(0xE5, 0x48, 0x4D), teal(0x1B, 0x94, 0xA4), plum(0x6C, 0x4F, 0x9E), ink(0x3A, 0x31, 0x50);
    const TextStyle body = style(sans(12), ink);
    contentStyle(design.Front_card_Prop, body);

    SideElements front;
    GraphicPtr lead =
        front.add(kit.text({}, QStringLiteral("YOU'RE INVITED TO"), style(sansBold(10.5), teal, 0), 20, 46, 180));
    GraphicPtr title = front.add(kit.text(QStringLiteral("PARTY_TITLE"), QStringLiteral("Mia's 6th\nBirthday\nParty!"),
                                          style(sansBold(34), coral, 0), 18, below(lead, 2), 190));
    GraphicPtr message =
        front.add(kit.text(QStringLiteral("PARTY_MSG"), QStringLiteral("Balloons, cake, games\nand lots of fun!"),
                           style(sansBold(13), plum, 0), 20, below(title, 10), 180));
    front.add(kit.picture(QStringLiteral("Cakes/Cupcake.png"), QRectF(28, below(message, 18), 140, 140)));

    const QRectF panel(24, 384, 312, 96);
    front.add(locked(TemplateKit::shape(QStringLiteral("RR"), panel, translucent(Qt::white, 0.88), coral, 1.5)));
    GraphicPtr date =
        front.add(kit.centredText(QStringLiteral("PARTY_DATE"), QStringLiteral("Saturday, June 14 at 2:00 PM"),
                                  style(sansBold(14), ink), panel.center().x(), panel.top() + 15, 300));
    GraphicPtr venue = front.add(kit.centredText(QStringLiteral("PARTY_VENUE"),
                                                 QStringLiteral("Sunny Meadow Park, Pavilion 3\n12 Maple Street"),
                                                 style(sans(12), ink), panel.center().x(), below(date, 4), 300));
    front.add(kit.centredText(QStringLiteral("PARTY_FROM"), QStringLiteral("RSVP to Anna · 555-0123"),
                              style(sansItalic(11), coral), panel.center().x(), below(venue, 5), 300));
    design.graphics = front.topmostFirst();
    return design;
}

// A grown-up dinner: navy card, a fine double frame and gold lettering in the classic
// centred layout of a formal invitation.
CardDesign StockTemplates::birthdayDinner(TemplateKit &kit)
{
    CardDesign design = kit.newDesign(QStringLiteral("Birthday Dinner Invitation"),
                                      QStringLiteral("A7 Greeting Card (7 x 5 in)"), true, false);
    const QColor navyTop(0x24, 0x35, 0x52), navyBottom(0x0F, 0x19, 0x2B);
    const QColor gold(0xD4, 0xB0, 0x6A), cream(0xF2, 0xE8, 0xD8);
    TemplateKit::gradientBackground(design.Front_card_Prop, navyTop, navyBottom, 90);
    const TextStyle body = style(serif(13.5), cream);
    contentStyle(design.Front_card_Prop, body);
    const double centre = middle(design);

    SideElements front;
    front.add(locked(TemplateKit::shape(QStringLiteral("R"), QRectF(18, 18, 324, 468), {}, gold, 1.2)));
    front.add(locked(TemplateKit::shape(QStringLiteral("R"), QRectF(24, 24, 312, 456), {}, gold, 0.5)));
    auto ornament = [&](double y) {
        front.add(locked(TemplateKit::line(QRectF(centre - 62, y - 2, 50, 4), gold, 0.8)));
        front.add(locked(TemplateKit::shape(QStringLiteral("D"), QRectF(centre - 6, y - 6, 12, 12), gold)));
        front.add(locked(TemplateKit::line(QRectF(centre + 12, y - 2, 50, 4), gold, 0.8)));
    };
    ornament(66);

    GraphicPtr lead = front.add(
        kit.centredText({}, QStringLiteral("PLEASE JOIN US FOR"), style(serif(11), cream, 2), centre, 90, 280));
    GraphicPtr occasion = front.add(kit.centredText({}, QStringLiteral("a birthday dinner in honour of"),
                                                    style(serifItalic(17), cream), centre, below(lead, 6), 280));
    GraphicPtr title = front.add(kit.centredText(QStringLiteral("PARTY_TITLE"), QStringLiteral("Margaret"),
                                                 style(serifBoldItalic(46), gold), centre, below(occasion, 8), 290));
    GraphicPtr age = front.add(kit.centredText({}, QStringLiteral("ON HER FIFTIETH BIRTHDAY"),
                                               style(serif(12), gold, 2), centre, below(title, 8), 290));
    ornament(below(age, 22));

    GraphicPtr date = front.add(
        kit.centredText(QStringLiteral("PARTY_DATE"),
                        QStringLiteral("Saturday, the fourteenth of October\nat seven o'clock in the evening"), body,
                        centre, below(age, 46), 290));
    GraphicPtr venue = front.add(kit.centredText(QStringLiteral("PARTY_VENUE"),
                                                 QStringLiteral("The Grand Hotel, Rose Room\n21 Park Lane, Bath"), body,
                                                 centre, below(date, 16), 290));
    GraphicPtr dress = front.add(kit.centredText({}, QStringLiteral("Black tie optional"),
                                                 style(serifItalic(12.5), gold), centre, below(venue, 16), 290));
    front.add(kit.centredText(QStringLiteral("PARTY_FROM"),
                              QStringLiteral("Kindly reply to Elizabeth\nby the first of October"),
                              style(serifItalic(12.5), cream), centre, below(dress, 24), 290));
    ornament(438);
    design.graphics = front.topmostFirst();
    return design;
}

// A greeting rather than an invitation: the flowers of the background frame a soft,
// centred wish.
CardDesign StockTemplates::floralWishes(TemplateKit &kit)
{
    const QColor rose(0xBE, 0x4A, 0x6C), sage(0x5E, 0x80, 0x62), ink(0x5A, 0x45, 0x4F);
    const TextStyle body = style(serifItalic(13.5), ink);
    CardDesign design =
        postcard(kit, QStringLiteral("Floral Birthday Wishes"), QStringLiteral("Floral Corners.jpg"), body);
    const double centre = middle(design);

    SideElements front;
    GraphicPtr lead = front.add(
        kit.centredText({}, QStringLiteral("THINKING OF YOU ON YOUR"), style(sans(9.5), sage, 2), centre, 66, 260));
    GraphicPtr title = front.add(kit.centredText(QStringLiteral("PARTY_TITLE"), QStringLiteral("Birthday"),
                                                 style(serifBoldItalic(44), rose), centre, below(lead, 2), 260));
    const double rule = below(title, 6);
    front.add(locked(TemplateKit::line(QRectF(centre - 40, rule - 2, 80, 4), rose, 0.8)));
    GraphicPtr message = front.add(kit.centredText(
        QStringLiteral("PARTY_MSG"),
        QStringLiteral(
            "May your day bloom with joy and laughter,\nand your year be filled with\nall the things you love."),
        body, centre, rule + 10, 260));
    front.add(kit.centredText(QStringLiteral("PARTY_FROM"), QStringLiteral("With love, Emma"),
                              style(serifBoldItalic(14), rose), centre, below(message, 10), 260));
    design.graphics = front.topmostFirst();
    return design;
}

// Loud and bright: confetti all round, a headline in capitals and a dark band that makes
// the when and where stand out.
CardDesign StockTemplates::surpriseParty(TemplateKit &kit)
{
    const QColor magenta(0xD6, 0x33, 0x6C), navy(0x2B, 0x2D, 0x42), butter(0xFF, 0xE0, 0x8A);
    const TextStyle body = style(sans(12), navy);
    CardDesign design =
        postcard(kit, QStringLiteral("Surprise Party Invitation"), QStringLiteral("Confetti Celebration.jpg"), body);
    const double centre = middle(design);

    SideElements front;
    // A clearing in the confetti keeps the words readable.
    front.add(locked(TemplateKit::shape(QStringLiteral("RR"), QRectF(40, 40, 352, 196),
                                        translucent(QColor(0xFF, 0xFB, 0xF3), 0.82))));
    GraphicPtr lead =
        front.add(kit.centredText({}, QStringLiteral("SHHH... IT'S A"), style(sansBold(13), navy, 2), centre, 54, 300));
    GraphicPtr title = front.add(kit.centredText(QStringLiteral("PARTY_TITLE"), QStringLiteral("SURPRISE PARTY!"),
                                                 style(sansBold(32), magenta), centre, below(lead, 0), 380));
    GraphicPtr message =
        front.add(kit.centredText(QStringLiteral("PARTY_MSG"), QStringLiteral("for Daniel's 40th birthday"),
                                  style(serifBoldItalic(19), navy), centre, below(title, 2), 320));

    const QRectF band(centre - 125, below(message, 12), 250, 50);
    front.add(locked(TemplateKit::shape(QStringLiteral("RR"), band, navy)));
    GraphicPtr date =
        front.add(kit.centredText(QStringLiteral("PARTY_DATE"), QStringLiteral("Friday, May 9 at 7:30 PM"),
                                  style(sansBold(14), Qt::white), centre, band.top() + 7, 240));
    front.add(kit.centredText(QStringLiteral("PARTY_VENUE"), QStringLiteral("The Loft, 88 Harbour Street"),
                              style(sans(12), butter), centre, below(date, 2), 240));
    front.add(kit.centredText(QStringLiteral("PARTY_FROM"),
                              QStringLiteral("Please arrive by 7:00 and keep it a secret!"),
                              style(sansItalic(11), navy), centre, band.bottom() + 12, 300));

    // Both poppers burst towards the middle.
    front.add(kit.picture(QStringLiteral("Party/Party Popper.png"), QRectF(14, 192, 80, 80)));
    GraphicPtr rightPopper = front.add(kit.picture(QStringLiteral("Party/Party Popper.png"), QRectF(338, 192, 80, 80)));
    rightPopper->_isFlippedHorizontally = true;
    design.graphics = front.topmostFirst();
    return design;
}

// An evening party: gold type on the night sky, with two stars flanking the heading.
CardDesign StockTemplates::starryNight(TemplateKit &kit)
{
    const QColor gold(0xF6, 0xC8, 0x5F), paleGold(0xF4, 0xDB, 0xA0), moon(0xE4, 0xE8, 0xF5), mist(0xC9, 0xD1, 0xE8);
    const TextStyle body = style(sans(11), moon);
    CardDesign design =
        postcard(kit, QStringLiteral("Starry Night Celebration"), QStringLiteral("Starry Night.jpg"), body);
    const double centre = middle(design);

    SideElements front;
    // A dusky pane keeps the background's brightest stars from running through the words.
    front.add(locked(TemplateKit::shape(QStringLiteral("RR"), QRectF(centre - 160, 44, 320, 200),
                                        translucent(QColor(0x0B, 0x14, 0x33), 0.55), translucent(paleGold, 0.7), 0.8)));
    GraphicPtr lead = front.add(
        kit.centredText({}, QStringLiteral("UNDER THE STARS"), style(sans(10), paleGold, 2), centre, 64, 170));
    const double starY = lead->bounds().center().y();
    front.add(TemplateKit::shape(QStringLiteral("S"), QRectF(centre - 100, starY - 7, 14, 14), gold));
    front.add(TemplateKit::shape(QStringLiteral("S"), QRectF(centre + 86, starY - 7, 14, 14), gold));
    GraphicPtr title = front.add(kit.centredText(QStringLiteral("PARTY_TITLE"), QStringLiteral("Leo's 30th Birthday"),
                                                 style(serifBoldItalic(34), gold), centre, below(lead, 4), 310));
    GraphicPtr message = front.add(kit.centredText(
        QStringLiteral("PARTY_MSG"), QStringLiteral("An evening of music, dinner\nand stargazing under the night sky"),
        style(serifItalic(14), moon), centre, below(title, 4), 300));
    const double rule = below(message, 8);
    front.add(locked(TemplateKit::line(QRectF(centre - 40, rule - 2, 80, 4), paleGold, 0.8)));
    GraphicPtr date =
        front.add(kit.centredText(QStringLiteral("PARTY_DATE"), QStringLiteral("Saturday, August 23 at 8:00 PM"),
                                  style(sansBold(12), Qt::white, 2), centre, rule + 8, 300));
    GraphicPtr venue = front.add(kit.centredText(QStringLiteral("PARTY_VENUE"),
                                                 QStringLiteral("Hilltop Observatory Garden, Ridge Road"),
                                                 style(sans(11), mist), centre, below(date, 2), 300));
    front.add(kit.centredText(QStringLiteral("PARTY_FROM"), QStringLiteral("RSVP to Nora by August 10"),
                              style(sansItalic(10.5), paleGold), centre, below(venue, 14), 300));
    design.graphics = front.topmostFirst();
    return design;
}

// A folded greeting card: a picture front and, on the back, a personal message on a
// patterned card tinted to a soft pink.
CardDesign StockTemplates::cardWithMessage(TemplateKit &kit)
{
    CardDesign design = kit.newDesign(QStringLiteral("Birthday Card with Message"),
                                      QStringLiteral("A7 Greeting Card (7 x 5 in)"), false, true);
    const QSizeF size = design.Front_card_Prop.Card_Size;
    const double centre = size.width() / 2.0;
    const QColor berry(0xB5, 0x44, 0x6E), ink(0x5A, 0x4A, 0x55), blush(0xF9, 0xE1, 0xE8);

    kit.pictureBackground(design.Front_card_Prop, QStringLiteral("Watercolour Blush.jpg"));
    contentStyle(design.Front_card_Prop, style(serifItalic(16), berry));
    SideElements front;
    front.add(kit.picture(QStringLiteral("Celebration Text/Happy Birthday.png"), QRectF(centre - 160, 52, 320, 146)));
    front.add(kit.picture(QStringLiteral("Cakes/Birthday Cake.png"), QRectF(centre - 62, 196, 124, 112)));
    front.add(
        kit.centredText({}, QStringLiteral("to someone wonderful"), style(serifItalic(16), berry), centre, 312, 300));
    design.graphics = front.topmostFirst();

    kit.hatchBackground(design.Back_card_Prop, QStringLiteral("Hearts"), blush);
    const TextStyle body = style(serifItalic(17), ink, 0);
    contentStyle(design.Back_card_Prop, body);
    SideElements back;
    // The pattern is drawn as it is; a veil of the card's colour over it softens it to a tint.
    back.add(locked(TemplateKit::shape(QStringLiteral("R"), QRectF(QPointF(0, 0), size), translucent(blush, 0.85))));
    const QRectF panel(52, 40, size.width() - 104, size.height() - 80);
    back.add(locked(
        TemplateKit::shape(QStringLiteral("RR"), panel, translucent(Qt::white, 0.94), QColor(0xE7, 0xA6, 0xBA), 1.0)));
    GraphicPtr to = back.add(kit.text(QStringLiteral("PARTY_TO"), QStringLiteral("Dear Sarah,"),
                                      style(serifBoldItalic(24), berry, 0), panel.left() + 30, panel.top() + 34, 300));
    GraphicPtr message = back.add(kit.text(QStringLiteral("PARTY_MSG"),
                                           QStringLiteral("Wishing you the happiest of birthdays!\n"
                                                          "May this year bring you love, laughter\n"
                                                          "and every little thing that makes you smile."),
                                           body, panel.left() + 30, below(to, 14), panel.width() - 60));
    back.add(kit.text(QStringLiteral("PARTY_FROM"), QStringLiteral("With love,\nTom"),
                      style(serifBoldItalic(19), berry, 1), panel.right() - 190, below(message, 30), 160));
    back.add(kit.picture(QStringLiteral("Balloons/Heart Balloon.png"),
                         QRectF(panel.left() + 34, below(message, 16), 70, 96)));
    design.graphics_back = back.topmostFirst();
    return design;
}
