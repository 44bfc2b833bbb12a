#include "document/SetPrintFlagCommand.h"

SetPrintFlagCommand::SetPrintFlagCommand(LMNDocument *document, GraphicList *list,
                                         const GraphicList &elements, int value, const QString &text)
    : GraphicEditCommand(document, list, text)
    , m_value(value)
{
    for (const GraphicPtr &g : elements) {
        if (g && g->print_object != value) {
            m_elements.append(g);
            m_before.append(g->print_object);
        }
    }
}

void SetPrintFlagCommand::apply()
{
    for (const GraphicPtr &g : std::as_const(m_elements))
        g->print_object = m_value;
}

void SetPrintFlagCommand::revert()
{
    for (qsizetype i = 0; i < m_elements.size(); ++i)
        m_elements.at(i)->print_object = m_before.at(i);
}
