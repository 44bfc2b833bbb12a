#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QAbstractScrollArea;
class QLineEdit;

// A read-only field that names a font and its size, "Liberation Sans Narrow ( 48.00 )", in
// whatever width its panel gives it: the size is always shown whole, the name is cut at its end
// with "…" where the field is too narrow for all of it. In a panel that scrolls sideways the
// field's part out of view counts as missing, so what is in view reads whole. The whole text is
// the field's tool tip.
class FontField : public QObject
{
    Q_OBJECT

public:
    // Shows `name` and `size` (the size's text, "( 48.00 )") in `field`.
    static void show(QLineEdit *field, const QString &name, const QString &size);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FontField(QLineEdit *field);
    static FontField *of(QLineEdit *field);
    void fit();
    // The scroll area the field lies in, watched from the first time it is found.
    QAbstractScrollArea *scrollArea();

    QLineEdit *m_field;
    QPointer<QAbstractScrollArea> m_area;
    QString m_name;
    QString m_size;
};
