#pragma once

#include "COptionPage.h"
#include "platform/ColorRef.h"

#include <QList>

class CColorButton;
class QCheckBox;

// Page "カラー設定": the editor's six colours and the grid's eight, each with a bold box
// (except the background of excluded cells).
class CPageOptionColor : public COptionPage
{
    Q_OBJECT
public:
    explicit CPageOptionColor(QWidget *parent = nullptr);

    QString title() const override { return QStringLiteral("カラー設定"); }
    void load(const AppSettings &settings) override;
    void store(AppSettings &settings) const override;
    void resetToDefaults() override;

    struct Row
    {
        QString label;
        ColorRef AppSettings::*field;
        ColorRef resetValue;
        bool hasBold;
        CColorButton *button = nullptr;
        QCheckBox *bold = nullptr;
    };
    const QList<Row> &rows() const { return m_rows; }
    // The row of a label such as "除外項目文字色："; nullptr when there is none.
    const Row *row(const QString &label) const;

private:
    QList<Row> m_rows;
};
