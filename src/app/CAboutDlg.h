#pragma once

#include <QDialog>

// The about box "Qorvaneのﾊﾞｰｼﾞｮﾝ情報".
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};
