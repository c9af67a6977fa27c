#include "CDlgParamInput.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The check box state shared by every use of the dialog.
bool &replaceInTextState()
{
    static bool state = true;
    return state;
}

CDlgParamInput::AskHandler &askHandler()
{
    static CDlgParamInput::AskHandler handler;
    return handler;
}

enum Column { NameColumn, ValueColumn, StringColumn };

} // namespace

CDlgParamInput::CDlgParamInput(const QList<ParamValue> &values, bool showIgnore, QWidget *parent)
    : QDialog(parent), m_showIgnore(showIgnore)
{
    setWindowTitle(QStringLiteral("パラメータ入力"));
    setSizeGripEnabled(true);

    m_grid = new QTableWidget(int(values.size()), 3, this);
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("バインド変数名"), QStringLiteral("値"), QStringLiteral("文字列")});
    m_grid->verticalHeader()->setVisible(false);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    for (int row = 0; row < values.size(); ++row) {
        auto *name = new QTableWidgetItem(values.at(row).name);
        name->setFlags(Qt::ItemIsEnabled);
        m_grid->setItem(row, NameColumn, name);
        m_grid->setItem(row, ValueColumn, new QTableWidgetItem(values.at(row).value));
        auto *isString = new QTableWidgetItem;
        isString->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        isString->setCheckState(values.at(row).isString ? Qt::Checked : Qt::Unchecked);
        m_grid->setItem(row, StringColumn, isString);
    }

    m_replace = new QCheckBox(QStringLiteral("パラメータを指定値に置換してSQL文を実行"), this);
    m_replace->setChecked(replaceInTextState());
    m_replace->setVisible(showIgnore);
    connect(m_replace, &QCheckBox::toggled, this, [](bool on) { replaceInTextState() = on; });

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_ignore = new QPushButton(QStringLiteral("無視"), this);
    m_ignore->setVisible(showIgnore);
    connect(ok, &QPushButton::clicked, this, &CDlgParamInput::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgParamInput::reject);
    connect(m_ignore, &QPushButton::clicked, this, [this] {
        m_ignored = true;
        reject();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_replace);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(m_ignore);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(480, 260);

    if (!values.isEmpty())
        m_grid->setCurrentCell(0, ValueColumn);
}

void CDlgParamInput::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitColumns();
    m_grid->setFocus();
    if (m_grid->rowCount() > 0)
        m_grid->editItem(m_grid->item(0, ValueColumn));
}

void CDlgParamInput::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    fitColumns();
}

void CDlgParamInput::fitColumns()
{
    // The value column takes the width the other two leave.
    m_grid->resizeColumnToContents(NameColumn);
    m_grid->resizeColumnToContents(StringColumn);
    const int rest = m_grid->viewport()->width() - m_grid->columnWidth(NameColumn)
                     - m_grid->columnWidth(StringColumn);
    m_grid->setColumnWidth(ValueColumn, qMax(60, rest));
}

QList<ParamValue> CDlgParamInput::values() const
{
    QList<ParamValue> rows;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        ParamValue value;
        value.name = m_grid->item(row, NameColumn)->text();
        value.value = m_grid->item(row, ValueColumn)->text();
        value.isString = m_grid->item(row, StringColumn)->checkState() == Qt::Checked;
        rows.append(value);
    }
    return rows;
}

bool CDlgParamInput::replaceInText() const
{
    return m_replace->isChecked();
}

void CDlgParamInput::setReplaceInText(bool on)
{
    m_replace->setChecked(on);
}

void CDlgParamInput::accept()
{
    // A value still being typed in its cell counts.
    if (QWidget *editor = m_grid->indexWidget(m_grid->currentIndex()))
        QMetaObject::invokeMethod(m_grid, "commitData", Qt::DirectConnection,
                                  Q_ARG(QWidget *, editor));
    QDialog::accept();
}

void CDlgParamInput::setAskHandler(AskHandler handler)
{
    askHandler() = std::move(handler);
}

bool CDlgParamInput::Ask(QWidget *parent, QList<ParamValue> &values, bool showIgnore,
                         bool *ignored, bool *replaceInText)
{
    if (askHandler())
        return askHandler()(values, showIgnore, ignored, replaceInText);
    CDlgParamInput dialog(values, showIgnore, parent);
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (ignored)
        *ignored = dialog.ignored();
    if (replaceInText)
        *replaceInText = showIgnore && dialog.replaceInText();
    if (ok)
        values = dialog.values();
    return ok;
}

AskParamValues CDlgParamInput::asker(QWidget *parent)
{
    return [parent](QList<ParamValue> &values, bool showIgnore, bool *ignored,
                    bool *replaceInText) {
        return Ask(parent, values, showIgnore, ignored, replaceInText);
    };
}
