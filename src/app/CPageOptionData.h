#pragma once

#include "COptionPage.h"

class CFontControl;
class QCheckBox;
class QComboBox;
class QLineEdit;

// Page "データ部": NULL text, copying, generated SQL, grid font.
class CPageOptionData : public COptionPage
{
    Q_OBJECT
public:
    explicit CPageOptionData(QWidget *parent = nullptr);

    QString title() const override { return QStringLiteral("データ部"); }
    void load(const AppSettings &settings) override;
    void store(AppSettings &settings) const override;
    void resetToDefaults() override;

    QLineEdit *nullData = nullptr;
    QComboBox *copyHeadDelimiter = nullptr;
    QCheckBox *nullCopy = nullptr;
    QCheckBox *rsvSqlAutoBeaut = nullptr;
    QCheckBox *rsvSqlInNew = nullptr;
    CFontControl *font = nullptr;
};
