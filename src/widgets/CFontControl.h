#pragma once

#include "platform/LogFont.h"

#include <QWidget>

class QLabel;

// Shows a font as "%.1f pt. %s" (size in whole points at the screen's vertical resolution,
// face name) with a button "変更" that opens the font chooser.
class CFontControl : public QWidget
{
    Q_OBJECT
public:
    explicit CFontControl(QWidget *parent = nullptr);

    LogFont logFont() const { return m_font; }
    void setLogFont(const LogFont &font);

    static QString describe(const LogFont &font, int dpiY);

Q_SIGNALS:
    void fontChanged();

private:
    void choose();
    int dpiY() const;

    LogFont m_font;
    QLabel *m_label = nullptr;
};
