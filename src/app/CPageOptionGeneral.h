#pragma once

#include "COptionPage.h"

class CFontControl;
class QCheckBox;
class QComboBox;
class QLineEdit;

// Page "全般": time-outs, comments, automatic commit, cursor location, schema panel font.
class CPageOptionGeneral : public COptionPage
{
    Q_OBJECT
public:
    explicit CPageOptionGeneral(QWidget *parent = nullptr);

    QString title() const override { return QStringLiteral("全般"); }
    void load(const AppSettings &settings) override;
    void store(AppSettings &settings) const override;
    void resetToDefaults() override;

    QLineEdit *connectTimeout = nullptr;
    QLineEdit *commandTimeout = nullptr;
    QCheckBox *commentOut = nullptr;
    QCheckBox *autoCommit = nullptr;
    QComboBox *cursorLocation = nullptr;
    CFontControl *font = nullptr;
};
