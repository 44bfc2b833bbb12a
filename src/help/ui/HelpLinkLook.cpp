#include "help/ui/HelpLinkLook.h"

#include <QAbstractButton>
#include <QPushButton>

void HelpLinkLook::apply(QAbstractButton *button)
{
    QFont font = button->font();
    font.setBold(true);
    font.setPointSizeF(11);
    font.setUnderline(true);
    button->setFont(font);
    if (auto *push = qobject_cast<QPushButton *>(button))
        push->setFlat(true);
    QPalette palette = button->palette();
    const QColor link = palette.color(QPalette::Link);
    palette.setColor(QPalette::ButtonText, link);
    palette.setColor(QPalette::WindowText, link);
    palette.setColor(QPalette::Button, QColor(241, 244, 250));
    button->setPalette(palette);
    button->setCursor(Qt::OpenHandCursor);
}
