#include "CAboutDlg.h"

#include "widgets/AppIcons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Qorvaneのﾊﾞｰｼﾞｮﾝ情報"));
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    auto *icon = new QLabel(this);
    icon->setPixmap(AppIcons::application().pixmap(32, 32));
    row->addWidget(icon, 0, Qt::AlignTop);
    auto *text = new QLabel(QStringLiteral("Qorvane Version 2.0.8"), this);
    text->setObjectName(QStringLiteral("VersionLine"));
    row->addWidget(text, 1);
    layout->addLayout(row);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(300, 110)));
}
