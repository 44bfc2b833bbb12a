#pragma once

#include "panels/ElementTabValues.h"
#include "ui_TextPropPage.h"

#include <QWidget>

// The text style page: colour, font, alignment, case, letter spacing, opacity, border and
// fill of a text element.
class TextPropPage : public QWidget
{
    Q_OBJECT

public:
    explicit TextPropPage(QWidget *parent = nullptr);
    Ui::TextPropPage ui;

    // The page's current font (the shown element's, or the font panel's last choice).
    CardFont Text_font;

    void load(const LMNGraphic &graphic);
    // Everything of the page; the text itself comes from the text page.
    TextTabValues values() const;
    void showFill(const QString &fillCode);
    void setTextFont(const CardFont &font);

signals:
    void edited();
    void fontRequested();
};
