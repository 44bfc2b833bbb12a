#include "panels/ui/FontChoice.h"

#include "dialogs/ui/ModalSeam.h"

#include <QFontDialog>
#include <QFontInfo>

QFont FontChoice::startFont(const CardFont &font)
{
    const QFontInfo drawn(font.toQFont());
    QFont start(drawn.family());
    start.setBold(drawn.bold());
    start.setItalic(drawn.italic());
    start.setPointSizeF(font.pointSize > 0 ? font.pointSize : 12.0);
    return start;
}

CardFont FontChoice::chosen(const CardFont &start, const QFont &picked)
{
    const QFont started = startFont(start);
    const double size = picked.pointSizeF() > 0 ? picked.pointSizeF() : start.pointSize;
    if (!start.isNull() && picked.family() == started.family() && picked.bold() == started.bold()
        && picked.italic() == started.italic())
        return CardFont(start.postScriptName, size);
    return CardFont::fromQFont(picked);
}

bool FontChoice::ask(QWidget *parent, CardFont &font)
{
    QFontDialog dialog(startFont(font), parent);
    if (ModalSeam::instance().execDialog(&dialog) != QDialog::Accepted)
        return false;
    font = chosen(font, dialog.selectedFont());
    return true;
}
