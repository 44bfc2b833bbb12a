#pragma once

#include "ui_TextEditPage.h"

#include <QWidget>

// The text page: the element's text with its typing rules, date and time insertion and the
// stock-text button. The text box keeps no undo history of its own: what is typed is written
// into the element as one step of the design's history, and undo and redo pressed in the box
// ask for that history (a second history in the box would give back texts the design never
// held, and run the typing rules over them).
class TextEditPage : public QWidget
{
    Q_OBJECT

public:
    explicit TextEditPage(QWidget *parent = nullptr);
    Ui::TextEditPage ui;

    // The date and time patterns the insert buttons offer, in list order.
    static const QStringList &datePatterns();
    static const QStringList &timePatterns();
    // The pattern chosen in the date or time list; empty when none is chosen. The lists show
    // each pattern beside today's date or the time now in it.
    QString chosenDatePattern() const;
    QString chosenTimePattern() const;

    // Shows a text without running the typing rules (loading, stock text, bound values).
    void showText(const QString &text);
    // Replaces the selection (or inserts at the caret) without running the typing rules.
    void insertAtCaret(const QString &text);
    QString text() const;

signals:
    // The user typed: the rules were applied and the page must be written back.
    void edited();
    // Undo or redo pressed in the text box: the design's history takes it back, not the box.
    void undoRequested();
    void redoRequested();
    void insertDateRequested();
    void insertTimeRequested();
    void templateRequested();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void textDidChange();
    // Writes today's date and the time now beside each pattern.
    void showPatternSamples();

    bool m_quiet = false;
};
