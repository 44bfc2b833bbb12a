#include "dialogs/ui/ColorWell.h"

#include "dialogs/ui/ModalSeam.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

ColorWell::ColorWell(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(false);
    setIconSize(QSize(36, 14));
    setToolTip(tr("Choose a colour"));
    connect(this, &QToolButton::clicked, this, &ColorWell::chooseColor);
    updateSwatch();
}

void ColorWell::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    updateSwatch();
}

void ColorWell::chooseColor()
{
    QColorDialog dialog(m_color, this);
    dialog.setOption(QColorDialog::ShowAlphaChannel, false);
    if (ModalSeam::instance().execDialog(&dialog) != QDialog::Accepted)
        return;
    QColor chosen = dialog.selectedColor();
    if (!chosen.isValid())
        return;
    chosen.setAlphaF(m_color.alphaF());
    setColor(chosen);
    emit colorChanged(m_color);
}

void ColorWell::updateSwatch()
{
    // Widgets may draw pixmaps: this is a control on the main thread, not a rendering.
    QPixmap swatch(iconSize());
    swatch.fill(Qt::transparent);
    QPainter painter(&swatch);
    painter.fillRect(swatch.rect(), QColor(m_color.rgb()));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    setIcon(QIcon(swatch));
}
