#pragma once

#include <QDialog>

class CSqlParser;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTextEdit;

// The formatter options dialog "整形設定": edits a formatter's options and symbol lists
// against a live sample. Nothing reaches the formatter until OK, which validates the limits
// first; Cancel leaves it as it was. Each refresh of the sample lays it out with a temporary
// formatter carrying the controls' values. UI thread only.
class CDlgSqlFormat : public QDialog
{
    Q_OBJECT
public:
    // Edits the application formatter, or target when given (which must outlive the dialog).
    explicit CDlgSqlFormat(QWidget *parent = nullptr, CSqlParser *target = nullptr);

    // The statement the sample box starts with.
    static QString sampleStatement();

    // Lays out the sample box's text with the controls' values.
    void refreshSample();
    // Fills the controls from a freshly constructed formatter and refreshes the sample.
    void restoreDefaults();

    // Validates the controls; on success applies them to the formatter and closes.
    void accept() override;
    // The message shown for the first control outside its limits, or empty when all fit.
    QString validationError() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void fillFrom(const CSqlParser &parser);
    void applyTo(CSqlParser &parser, bool forSample) const;
    int sampleWidthInCharacters() const;
    void updateMarginEnabled();

    CSqlParser *m_target;
    bool m_textChanged = false;
    bool m_shown = false;

    QPlainTextEdit *m_syntaxes = nullptr;
    QPlainTextEdit *m_logicOps = nullptr;
    QLineEdit *m_parhs1 = nullptr;
    QLineEdit *m_parhs2 = nullptr;
    QLineEdit *m_quote = nullptr;
    QLineEdit *m_blockComment1 = nullptr;
    QLineEdit *m_blockComment2 = nullptr;
    QLineEdit *m_lineComment = nullptr;
    QLineEdit *m_wordMark1 = nullptr;
    QLineEdit *m_wordMark2 = nullptr;
    QRadioButton *m_marginByCount = nullptr;
    QLineEdit *m_margin = nullptr;
    QRadioButton *m_fitWindow = nullptr;
    QRadioButton *m_tab2 = nullptr;
    QRadioButton *m_tab4 = nullptr;
    QRadioButton *m_tab8 = nullptr;
    QCheckBox *m_tabSpaces = nullptr;
    QRadioButton *m_commaLeft = nullptr;
    QRadioButton *m_commaRight = nullptr;
    QRadioButton *m_commaOneLine = nullptr;
    QCheckBox *m_blockLR = nullptr;
    QCheckBox *m_blockRR = nullptr;
    QCheckBox *m_blockMargin = nullptr;
    QCheckBox *m_keywordRR = nullptr;
    QTextEdit *m_sample = nullptr;
};
