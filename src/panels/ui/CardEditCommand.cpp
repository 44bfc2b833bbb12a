#include "panels/ui/CardEditCommand.h"

#include "document/SetPropertiesCommand.h"
#include "document/ui/LMNGraphicView.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/PanelHost.h"

#include <QCoreApplication>

namespace {

constexpr int kMergeId = 0xca7d;

// What a user calls each setting of a background record. Card_Side_Name, Card_Create_Mode,
// Card_Location and the picture read from Card_BG_Image_Path are the program's own.
struct Setting
{
    const char *label;
    bool (*differs)(const Card_Property &, const Card_Property &);
};

#define SETTING(member, label) Setting{label, [](const Card_Property &a, const Card_Property &b) { return !(a.member == b.member); }}

// Most telling first: a step is named after the first setting it changed, so the name
// follows the control the user touched rather than what reading the panel back tidied up.
const Setting kSettings[] = {
    SETTING(Card_Name, "Card Name"),                SETTING(Card_Shape, "Card Shape"),
    SETTING(Card_Side, "Sides"),                    SETTING(Card_Preset, "Orientation"),
    SETTING(Card_BG_Image_Path, "Background Picture"), SETTING(Card_BG_Image_Layout, "Picture Layout"),
    SETTING(Card_border_chk, "Card Border"),        SETTING(Card_bordr_clr, "Border Color"),
    SETTING(Card_bor_Stepper, "Border Width"),      SETTING(Card_border_style, "Border Style"),
    SETTING(Card_fill_chk, "Fill"),                 SETTING(Card_fill_style, "Fill Style"),
    Setting{"Opacity", [](const Card_Property &a, const Card_Property &b) { return a.opacity() != b.opacity(); }},
    SETTING(Card_grad_Stepper, "Gradient Angle"),
    SETTING(Card_fill_Grd_1_clr, "Gradient Color"), SETTING(Card_fill_Grd_2_clr, "Gradient Color"),
    SETTING(Card_hatch_style, "Pattern"),           SETTING(Card_hatch_bk_clr, "Pattern Color"),
    SETTING(Card_fill_clr, "Fill Color"),           SETTING(Card_Content_clr, "Text Color"),
    SETTING(Card_Content_font, "Font"),             SETTING(Card_Category, "Card Size"),
    SETTING(Card_Sub_Category, "Card Size"),        SETTING(Card_Cat_index, "Card Size"),
    SETTING(Card_Size, "Card Size"),
};

#undef SETTING

void addOnce(QStringList &list, const QString &item)
{
    if (!list.contains(item))
        list.append(item);
}

} // namespace

CardEditState CardEditState::of(PanelHost &host)
{
    return {host.cardRecord(0), host.cardRecord(1), Card_Shape.load(), host.cardSize()};
}

QStringList CardEditState::changedSettings(const CardEditState &before, const CardEditState &after)
{
    QStringList labels;
    for (const Setting &setting : kSettings) {
        const QString label = QString::fromLatin1(setting.label);
        if (setting.differs(before.front, after.front) || setting.differs(before.back, after.back)
            || (label == QLatin1String("Card Shape") && before.shape != after.shape)
            || (label == QLatin1String("Card Size") && before.size != after.size))
            addOnce(labels, label);
    }
    return labels;
}

CardEditCommand::CardEditCommand(PanelHost *host, LMNDocument *document, GraphicList *list, CardEditState before,
                                 CardEditState after, ElementStateChange texts, const QString &text, int run)
    : GraphicEditCommand(document, list, QString())
    , m_host(host)
    , m_before(std::move(before))
    , m_after(std::move(after))
    , m_texts(std::move(texts))
    , m_run(run)
    , m_namedByCaller(!text.isEmpty())
{
    setText(m_namedByCaller ? text : textFor(settings()));
}

QString CardEditCommand::textFor(const QStringList &settings)
{
    if (settings.isEmpty())
        return QCoreApplication::translate("CardEditCommand", "Change Card");
    return QCoreApplication::translate("CardEditCommand", "Change %1").arg(settings.first());
}

QStringList CardEditCommand::settings() const
{
    QStringList labels = CardEditState::changedSettings(m_before, m_after);
    for (const QString &field : m_texts.fieldNames())
        addOnce(labels, SetPropertiesCommand::labelOf(field));
    return labels;
}

void CardEditCommand::apply()
{
    put(m_after);
    m_texts.restoreAfter();
}

void CardEditCommand::revert()
{
    put(m_before);
    m_texts.restoreBefore();
}

void CardEditCommand::put(const CardEditState &state) const
{
    // A card of another size is shown whole, as the size change itself shows it.
    const bool resized = m_host->cardSize() != state.size;
    if (resized)
        m_host->applyCardSize(state.size);
    m_host->cardRecord(0) = state.front;
    m_host->cardRecord(1) = state.back;
    Card_Shape = state.shape;
    CARD_SIDE_STR = state.front.Card_Side;
    for (int side : {0, 1})
        if (LMNGraphicView *canvas = m_host->sideCanvas(side))
            canvas->update();
    if (resized)
        m_host->fitCardInWindow();
}

int CardEditCommand::id() const
{
    return m_run >= 0 ? kMergeId : -1;
}

bool CardEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *newer = dynamic_cast<const CardEditCommand *>(other);
    if (!newer || m_run < 0 || newer->m_run != m_run || newer->list() != list() || newer->m_host != m_host)
        return false;
    m_after = newer->m_after;
    m_texts.absorb(newer->m_texts);
    if (!m_namedByCaller)
        setText(textFor(settings()));
    return true;
}
