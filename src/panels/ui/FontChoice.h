#pragma once

#include "document/CardFont.h"

#include <QFont>

class QWidget;

// The font dialog of the text pages. Cards name fonts by PostScript names that are often not
// installed as such ("TimesNewRomanPS-BoldItalicMT" is drawn with Liberation Serif): the dialog
// starts on the family the font system draws the card font with, in its style and size, and an
// answer that keeps that family and style keeps the card's own name.
namespace FontChoice {

// The font the dialog starts on for a card font.
QFont startFont(const CardFont &font);
// The card font for the dialog's answer, started from `start`.
CardFont chosen(const CardFont &start, const QFont &picked);
// Runs the font dialog through the modal seam; on OK `font` takes the answer and the result
// is true.
bool ask(QWidget *parent, CardFont &font);

} // namespace FontChoice
