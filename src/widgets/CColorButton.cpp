#include "CColorButton.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

CColorButton::CColorButton(QWidget *parent)
    : QPushButton(parent)
{
    setFixedSize(48, 22);
    setIconSize(QSize(36, 12));
    connect(this, &QPushButton::clicked, this, &CColorButton::choose);
    setColor(Qt::black);
}

void CColorButton::setColor(const QColor &color)
{
    m_color = color;
    QPixmap swatch(iconSize());
    swatch.fill(color);
    QPainter p(&swatch);
    p.setPen(Qt::darkGray);
    p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    p.end();
    setIcon(QIcon(swatch));
    setToolTip(color.name());
    Q_EMIT colorChanged(color);
}

void CColorButton::choose()
{
    const QColor chosen = QColorDialog::getColor(m_color, this);
    if (chosen.isValid())
        setColor(chosen);
}
