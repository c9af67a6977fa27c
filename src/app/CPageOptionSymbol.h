#pragma once

#include "COptionPage.h"

class QPlainTextEdit;

// Page "SQLシンボル": the editor's keyword, constant and function lists.
class CPageOptionSymbol : public COptionPage
{
    Q_OBJECT
public:
    explicit CPageOptionSymbol(QWidget *parent = nullptr);

    QString title() const override { return QStringLiteral("SQLシンボル"); }
    void load(const AppSettings &settings) override;
    void store(AppSettings &settings) const override;
    void resetToDefaults() override;

    // Trailing white space removed and exactly one blank appended.
    static QString normalizeList(const QString &text);

    QPlainTextEdit *keywords = nullptr;
    QPlainTextEdit *constants = nullptr;
    QPlainTextEdit *functions = nullptr;
};
