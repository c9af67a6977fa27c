#include "CFindReplaceDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CFindReplaceDialog::CFindReplaceDialog(bool replaceMode, QWidget *parent)
    : QDialog(parent), m_replaceMode(replaceMode)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(replaceMode ? QStringLiteral("置換") : QStringLiteral("検索"));

    m_find = new QLineEdit(this);
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("検索する文字列(&N):"), m_find);
    if (replaceMode) {
        m_replace = new QLineEdit(this);
        fields->addRow(QStringLiteral("置換後の文字列(&P):"), m_replace);
    }

    m_wholeWord = new QCheckBox(QStringLiteral("単語単位で探す(&W)"), this);
    m_matchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
    auto *options = new QVBoxLayout;
    options->addWidget(m_wholeWord);
    options->addWidget(m_matchCase);

    auto *direction = new QGroupBox(QStringLiteral("検索する方向"), this);
    m_up = new QRadioButton(QStringLiteral("上へ(&U)"), direction);
    m_down = new QRadioButton(QStringLiteral("下へ(&D)"), direction);
    m_down->setChecked(true);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);
    // The replace dialog always searches downwards from its buttons' point of view, as the
    // common replace dialog does; the direction stays settable in the find dialog only.
    direction->setVisible(!replaceMode);

    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    auto *lower = new QHBoxLayout;
    lower->addLayout(options);
    lower->addWidget(direction);
    left->addLayout(lower);
    left->addStretch();

    auto *buttons = new QVBoxLayout;
    m_findNext = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    m_findNext->setDefault(true);
    buttons->addWidget(m_findNext);
    connect(m_findNext, &QPushButton::clicked, this, &CFindReplaceDialog::findNextRequested);
    if (replaceMode) {
        m_replaceOne = new QPushButton(QStringLiteral("置換して次に(&R)"), this);
        m_replaceAll = new QPushButton(QStringLiteral("すべて置換(&A)"), this);
        buttons->addWidget(m_replaceOne);
        buttons->addWidget(m_replaceAll);
        connect(m_replaceOne, &QPushButton::clicked, this, &CFindReplaceDialog::replaceRequested);
        connect(m_replaceAll, &QPushButton::clicked, this,
                &CFindReplaceDialog::replaceAllRequested);
    }
    auto *cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(m_find, &QLineEdit::textChanged, this, &CFindReplaceDialog::updateButtons);
    updateButtons();
}

void CFindReplaceDialog::updateButtons()
{
    const bool any = !m_find->text().isEmpty();
    m_findNext->setEnabled(any);
    if (m_replaceOne) {
        m_replaceOne->setEnabled(any);
        m_replaceAll->setEnabled(any);
    }
}

void CFindReplaceDialog::setFindText(const QString &text)
{
    m_find->setText(text);
    m_find->selectAll();
}

void CFindReplaceDialog::setReplaceText(const QString &text)
{
    if (m_replace)
        m_replace->setText(text);
}

void CFindReplaceDialog::setOptions(bool matchCase, bool wholeWord, bool searchDown)
{
    m_matchCase->setChecked(matchCase);
    m_wholeWord->setChecked(wholeWord);
    (searchDown ? m_down : m_up)->setChecked(true);
}

QString CFindReplaceDialog::findText() const
{
    return m_find->text();
}

QString CFindReplaceDialog::replaceText() const
{
    return m_replace ? m_replace->text() : QString();
}

bool CFindReplaceDialog::matchCase() const
{
    return m_matchCase->isChecked();
}

bool CFindReplaceDialog::wholeWord() const
{
    return m_wholeWord->isChecked();
}

bool CFindReplaceDialog::searchDown() const
{
    return m_replaceMode || m_down->isChecked();
}
