#pragma once

#include <QColor>
#include <QToolButton>

// A colour well: a button that shows a colour and lets the user pick another
// (through ModalSeam, so tests can answer). Alpha is kept but not edited here.
class ColorWell : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged USER true)

public:
    explicit ColorWell(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    // Sets the colour without telling anyone (loading a model into the panel).
    void setColor(const QColor &color);

signals:
    // The user picked a new colour.
    void colorChanged(const QColor &color);

private:
    void chooseColor();
    void updateSwatch();

    QColor m_color = Qt::black;
};
