#include "ResultCollector.h"

#include "CResultMessage.h"
#include "results/CResultData.h"

void ResultCollector::setStatusText(int pane, const QString &text)
{
    if (pane >= 0 && pane < 4)
        panes[pane] = text;
}

void ResultCollector::removeAllPages()
{
    pages.clear();
    messageLines.clear();
    current = -1;
}

void ResultCollector::addMessagePageIfNone()
{
    if (!pages.isEmpty())
        return;
    pages.append({QStringLiteral("ﾒｯｾｰｼﾞ"), true, nullptr, false});
    current = int(pages.size()) - 1;
    showSelected();
}

std::shared_ptr<CResultData> ResultCollector::addResultPage()
{
    auto model = std::make_shared<CResultData>();
    pages.append({QString::number(pages.size()), false, model, false});
    current = int(pages.size()) - 1;
    return model;
}

void ResultCollector::resultLoaded(const std::shared_ptr<CResultData> &model)
{
    for (int i = 0; i < pages.size(); ++i) {
        if (pages[i].model == model) {
            pages[i].loaded = true;
            if (onLoaded)
                onLoaded(model);
            if (i == current)
                showSelected();
        }
    }
}

bool ResultCollector::hasMessagePage() const
{
    for (const Page &page : pages) {
        if (page.isMessage)
            return true;
    }
    return false;
}

void ResultCollector::appendMessage(const QString &text)
{
    if (hasMessagePage())
        messageLines.append(CResultMessage::messageLines(text));
}

void ResultCollector::selectTab(int index)
{
    if (index < 0 || index >= pages.size())
        return;
    current = index;
    showSelected();
}

void ResultCollector::selectResultPage(int index)
{
    int n = 0;
    for (int i = 0; i < pages.size(); ++i) {
        if (pages[i].isMessage)
            continue;
        if (n++ == index) {
            selectTab(i);
            return;
        }
    }
}

void ResultCollector::showSelected()
{
    if (current < 0 || current >= pages.size())
        return;
    const Page &page = pages[current];
    if (page.isMessage) {
        setStatusText(1, QStringLiteral("総データ数：%1").arg(total));
    } else if (page.loaded) {
        setStatusText(1, QStringLiteral("データ数：%1").arg(page.model->GetDisplayRowCount()));
        setStatusText(3, page.model->GetObjectInfo());
    }
}

QString ResultCollector::gridText(const CResultData &model)
{
    QString text = model.GetColumnNames().join(QLatin1Char('\t')) + QLatin1Char('\n');
    const int rows = model.GetDisplayRowCount();
    const int cols = model.GetColumnCount();
    QString cell;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (c > 0)
                text += QLatin1Char('\t');
            model.GetCell(r, c, &cell);
            text += CResultData::DisplayText(cell);
        }
        text += QLatin1Char('\n');
    }
    return text;
}
