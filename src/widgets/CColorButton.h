#pragma once

#include <QColor>
#include <QPushButton>

// A button that shows a colour (without the bold flag) and opens the colour chooser.
class CColorButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CColorButton(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

Q_SIGNALS:
    void colorChanged(const QColor &color);

private:
    void choose();
    QColor m_color = Qt::black;
};
