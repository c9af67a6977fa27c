#include "CFontControl.h"

#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

CFontControl::CFontControl(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_label = new QLabel(this);
    m_label->setFrameShape(QFrame::StyledPanel);
    m_label->setMinimumWidth(200);
    auto *button = new QPushButton(QStringLiteral("変更"), this);
    layout->addWidget(m_label, 1);
    layout->addWidget(button);
    connect(button, &QPushButton::clicked, this, &CFontControl::choose);
}

int CFontControl::dpiY() const
{
    const QScreen *s = screen();
    const int dpi = s ? int(s->logicalDotsPerInchY()) : 96;
    return dpi > 0 ? dpi : 96;
}

QString CFontControl::describe(const LogFont &font, int dpiY)
{
    return QString::asprintf("%.1f pt. ", double(font.pointSize(dpiY))) + font.faceName;
}

void CFontControl::setLogFont(const LogFont &font)
{
    m_font = font;
    m_label->setText(describe(font, dpiY()));
    m_label->setFont(font.toQFont(dpiY()));
    Q_EMIT fontChanged();
}

void CFontControl::choose()
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, m_font.toQFont(dpiY()), this);
    if (!ok)
        return;
    LogFont f = LogFont::fromQFont(chosen, dpiY());
    f.charSet = m_font.charSet;
    setLogFont(f);
}
