#include "panels/ui/FontField.h"

#include "document/StringUtilities.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace {

// The style's description of a line edit's frame, as the line edit draws it.
QStyleOptionFrame frameOption(const QLineEdit *field)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
    return option;
}

} // namespace

FontField::FontField(QLineEdit *field)
    : QObject(field)
    , m_field(field)
{
    field->installEventFilter(this);
}

FontField *FontField::of(QLineEdit *field)
{
    if (auto *shown = field->findChild<FontField *>(QString(), Qt::FindDirectChildrenOnly))
        return shown;
    return new FontField(field);
}

void FontField::show(QLineEdit *field, const QString &name, const QString &size)
{
    FontField *shown = of(field);
    shown->m_name = name;
    shown->m_size = size;
    const QString whole = name + QLatin1Char(' ') + size;
    field->setToolTip(plainTextToolTip(whole));
    // The field asks for room for the size and a few letters of the name, never for the whole
    // name: a long name must not push the field past its panel.
    const QStyleOptionFrame option = frameOption(field);
    const QMargins margins = field->textMargins() + field->contentsMargins();
    const QString least = name.left(3) + QStringLiteral("… ") + size;
    const QSize textRoom(field->fontMetrics().horizontalAdvance(least) + 4 + margins.left() + margins.right(),
                         field->sizeHint().height());
    field->setMinimumWidth(field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, textRoom, field).width());
    shown->fit();
}

void FontField::fit()
{
    const QString whole = m_name + QLatin1Char(' ') + m_size;
    QString shown = whole;
    if (m_field->isVisible()) {
        // The line edit's text room: the style's contents rectangle less its text margins and
        // its own two pixels each side.
        const QStyleOptionFrame option = frameOption(m_field);
        int room = m_field->style()->subElementRect(QStyle::SE_LineEditContents, &option, m_field)
                       .marginsRemoved(m_field->textMargins()).width() - 4;
        if (QAbstractScrollArea *area = scrollArea()) {
            const int inView = area->viewport()->width() - m_field->mapTo(area->viewport(), QPoint()).x();
            room -= std::max(0, m_field->width() - inView);   // the part scrolled out of view at the right
        }
        const QFontMetrics metrics = m_field->fontMetrics();
        if (metrics.horizontalAdvance(whole) > room) {
            const QString tail = QLatin1Char(' ') + m_size;
            shown = metrics.elidedText(m_name, Qt::ElideRight, std::max(0, room - metrics.horizontalAdvance(tail))) + tail;
        }
    }
    if (m_field->text() != shown) {
        m_field->setText(shown);
        m_field->setCursorPosition(0);
    }
}

QAbstractScrollArea *FontField::scrollArea()
{
    if (m_area)
        return m_area;
    for (QWidget *w = m_field->parentWidget(); w && !w->isWindow(); w = w->parentWidget()) {
        auto *area = qobject_cast<QAbstractScrollArea *>(w->parentWidget());
        if (area && area->viewport() == w) {
            m_area = area;
            area->viewport()->installEventFilter(this);
            connect(area->horizontalScrollBar(), &QScrollBar::valueChanged, this, &FontField::fit);
            return area;
        }
    }
    return nullptr;
}

bool FontField::eventFilter(QObject *watched, QEvent *event)
{
    const bool resized = event->type() == QEvent::Resize || event->type() == QEvent::Show;
    if (resized && (watched == m_field || (m_area && watched == m_area->viewport())))
        fit();
    return QObject::eventFilter(watched, event);
}
