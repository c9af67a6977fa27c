#include "OptionsDialog.h"

#include "CPageOptionColor.h"
#include "CPageOptionData.h"
#include "CPageOptionEditor.h"
#include "CPageOptionGeneral.h"
#include "CPageOptionSymbol.h"
#include "platform/AppSettings.h"
#include "platform/SettingsNotifier.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

OptionsDialog::OptionsDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("オプション"));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_pages = {new CPageOptionGeneral(m_tabs), new CPageOptionEditor(m_tabs),
               new CPageOptionData(m_tabs), new CPageOptionColor(m_tabs),
               new CPageOptionSymbol(m_tabs)};
    const AppSettings &settings = AppSettings::instance();
    for (COptionPage *page : m_pages) {
        page->load(settings);
        m_tabs->addTab(page, page->title());
    }
    layout->addWidget(m_tabs);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 480);
}

void OptionsDialog::accept()
{
    AppSettings &settings = AppSettings::instance();
    for (COptionPage *page : m_pages)
        page->store(settings);
    SettingsNotifier::instance().notifyApplied();
    Q_EMIT SettingsNotifier::instance().schemaFontChanged();
    QDialog::accept();
}
