#include "panels/ui/TextEditPage.h"

#include "document/DatePattern.h"
#include "panels/PanelText.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

TextEditPage::TextEditPage(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    for (const QString &pattern : datePatterns())
        ui.Text_Date_style->addItem(pattern, pattern);
    for (const QString &pattern : timePatterns())
        ui.Text_Time_style->addItem(pattern, pattern);
    showPatternSamples();
    ui.Text_value_Edit->setUndoRedoEnabled(false);
    ui.Text_value_Edit->installEventFilter(this);
    connect(ui.Text_value_Edit, &QPlainTextEdit::textChanged, this, &TextEditPage::textDidChange);
    connect(ui.Text_Insert_Date_btn, &QPushButton::clicked, this, &TextEditPage::insertDateRequested);
    connect(ui.Text_Insert_Time_btn, &QPushButton::clicked, this, &TextEditPage::insertTimeRequested);
    connect(ui.insert_template_btn, &QPushButton::clicked, this, &TextEditPage::templateRequested);
}

const QStringList &TextEditPage::datePatterns()
{
    static const QStringList patterns = {QStringLiteral("M-d-yyyy"), QStringLiteral("M-d-yy"), QStringLiteral("MM-dd-yy"),
                                         QStringLiteral("MM-dd-yyyy"), QStringLiteral("yy-MM-dd"), QStringLiteral("yyyy-MM-dd"),
                                         QStringLiteral("dd-MMM-yy"), QStringLiteral("dd-MM-yyyy"), QStringLiteral("d-M-yy")};
    return patterns;
}

const QStringList &TextEditPage::timePatterns()
{
    static const QStringList patterns = {QStringLiteral("h:mm:ss a"), QStringLiteral("hh:mm:ss a"),
                                         QStringLiteral("H:mm:ss"), QStringLiteral("HH:mm:ss")};
    return patterns;
}

void TextEditPage::showPatternSamples()
{
    for (int i = 0; i < ui.Text_Date_style->count(); ++i) {
        const QString pattern = ui.Text_Date_style->itemData(i).toString();
        ui.Text_Date_style->setItemText(i, tr("%1   (%2)").arg(pattern, DatePattern::Get_date_Value(pattern)));
    }
    for (int i = 0; i < ui.Text_Time_style->count(); ++i) {
        const QString pattern = ui.Text_Time_style->itemData(i).toString();
        ui.Text_Time_style->setItemText(i, tr("%1   (%2)").arg(pattern, DatePattern::Get_time_Value(pattern)));
    }
}

void TextEditPage::showEvent(QShowEvent *event)
{
    showPatternSamples();   // the day may have changed since the page was last shown
    QWidget::showEvent(event);
}

bool TextEditPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui.Text_value_Edit
        && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo = key->matches(QKeySequence::Redo);
        if (undo || redo) {
            // The key is the box's (the window's own Undo shortcut stays out of it) and goes
            // to the design's history.
            key->accept();
            if (event->type() == QEvent::KeyPress && undo)
                emit undoRequested();
            else if (event->type() == QEvent::KeyPress)
                emit redoRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString TextEditPage::chosenDatePattern() const
{
    return ui.Text_Date_style->currentIndex() >= 0 ? ui.Text_Date_style->currentData().toString() : QString();
}

QString TextEditPage::chosenTimePattern() const
{
    return ui.Text_Time_style->currentIndex() >= 0 ? ui.Text_Time_style->currentData().toString() : QString();
}

void TextEditPage::showText(const QString &text)
{
    const QScopedValueRollback quiet(m_quiet, true);
    ui.Text_value_Edit->setPlainText(text);
    ui.Text_value_Edit->selectAll();
}

void TextEditPage::insertAtCaret(const QString &text)
{
    const QScopedValueRollback quiet(m_quiet, true);
    ui.Text_value_Edit->textCursor().insertText(text);
}

QString TextEditPage::text() const
{
    return ui.Text_value_Edit->toPlainText();
}

void TextEditPage::textDidChange()
{
    if (m_quiet)
        return;
    QTextCursor cursor = ui.Text_value_Edit->textCursor();
    const PanelText::Typed typed = PanelText::applyTypingRules(text(), cursor.position());
    if (typed.changed) {
        const QScopedValueRollback quiet(m_quiet, true);
        // Replace the text inside one edit block so the user's undo stays sensible, then put
        // the caret back where the user was typing.
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(typed.text);
        cursor.endEditBlock();
        cursor.setPosition(typed.caret);
        ui.Text_value_Edit->setTextCursor(cursor);
    }
    emit edited();
}
