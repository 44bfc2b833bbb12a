#pragma once

#include <QImage>
#include <QLabel>

// A picture label drawn over a tiled pattern: the pattern shows wherever the picture is
// transparent or absent. The pattern is the resource folder's "pattern_1.jpg" unless set.
class Promotion_Pattern : public QLabel
{
    Q_OBJECT

public:
    explicit Promotion_Pattern(QWidget *parent = nullptr);

    void setPattern(const QImage &pattern) { m_pattern = pattern; }
    QImage pattern() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_pattern;
};
