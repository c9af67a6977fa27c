#include "COptionPage.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

COptionPage::COptionPage(QWidget *parent)
    : QWidget(parent)
{
    auto *outer = new QVBoxLayout(this);
    m_body = new QVBoxLayout;
    outer->addLayout(m_body, 1);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    auto *button = new QPushButton(QStringLiteral("デフォルト値"), this);
    button->setObjectName(QStringLiteral("DefaultsButton"));
    row->addWidget(button);
    outer->addLayout(row);
    connect(button, &QPushButton::clicked, this, &COptionPage::askReset);
}

void COptionPage::askReset()
{
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Qorvane"),
        QStringLiteral("今のタブの設定内容を全てデフォルト値に戻りますか？"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        resetToDefaults();
}
