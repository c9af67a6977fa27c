#pragma once

#include "COptionPage.h"

class CFontControl;
class QCheckBox;
class QLineEdit;

// Page "クエリエディタ": colouring rules, delimiters, comment symbols, generated SQL, font.
class CPageOptionEditor : public COptionPage
{
    Q_OBJECT
public:
    explicit CPageOptionEditor(QWidget *parent = nullptr);

    QString title() const override { return QStringLiteral("クエリエディタ"); }
    void load(const AppSettings &settings) override;
    void store(AppSettings &settings) const override;
    void resetToDefaults() override;

    QCheckBox *dbInfoColor = nullptr;
    QCheckBox *caseSensitive = nullptr;
    QCheckBox *changeCase = nullptr;
    QLineEdit *delimiters = nullptr;
    QLineEdit *lineComment = nullptr;
    QLineEdit *blockComment = nullptr;
    QLineEdit *blockComment2 = nullptr;
    QCheckBox *qrySqlAutoBeaut = nullptr;
    QCheckBox *autoExec = nullptr;
    CFontControl *font = nullptr;
};
