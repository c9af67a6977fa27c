#pragma once

#include "sql/ParamValue.h"
#include "sql/ParameterPreparation.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QPushButton;
class QTableWidget;

// The dialog "パラメータ入力": one row per bind parameter with its name, a value cell and a
// "string" box. OK reads the rows back; "ｷｬﾝｾﾙ" cancels; "無視" cancels and marks the
// dialog ignored (the text then runs as typed). The box "パラメータを指定値に置換してSQL文を実行"
// and "無視" are shown only when asked for. The box keeps its state for the life of the
// application, as if one dialog served every window. UI thread only.
class CDlgParamInput : public QDialog
{
    Q_OBJECT
public:
    CDlgParamInput(const QList<ParamValue> &values, bool showIgnore, QWidget *parent = nullptr);

    // The rows as they stand in the grid.
    QList<ParamValue> values() const;
    bool ignored() const { return m_ignored; }
    bool replaceInText() const;
    void setReplaceInText(bool on);

    // The table and buttons, for tests.
    QTableWidget *grid() const { return m_grid; }
    QPushButton *ignoreButton() const { return m_ignore; }
    QCheckBox *replaceBox() const { return m_replace; }

    // Shows the dialog modally; the signature of AskParamValues. A replacement set with
    // setAskHandler (tests, tools) is used instead when present.
    static bool Ask(QWidget *parent, QList<ParamValue> &values, bool showIgnore, bool *ignored,
                    bool *replaceInText);
    // Ask bound to a parent window, ready for PrepareParameters.
    static AskParamValues asker(QWidget *parent);
    using AskHandler = std::function<bool(QList<ParamValue> &, bool, bool *, bool *)>;
    static void setAskHandler(AskHandler handler);

    void accept() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void fitColumns();

    QTableWidget *m_grid = nullptr;
    QCheckBox *m_replace = nullptr;
    QPushButton *m_ignore = nullptr;
    bool m_showIgnore = false;
    bool m_ignored = false;
};
