#include "AppIcons.h"

#include "CommandIds.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace {

struct Glyph
{
    const char *text;
    QRgb colour;
};

QIcon drawGlyph(const Glyph &g)
{
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(g.colour));
        p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
        QFont f = QApplication::font();
        const QString text = QString::fromUtf8(g.text);
        f.setPixelSize(text.size() > 1 ? size * 5 / 12 : size * 3 / 4);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, text);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

const QHash<int, Glyph> &glyphs()
{
    static const QHash<int, Glyph> table = {
        {Cmd::Connect, {"接", 0xff2e7d32}},       {Cmd::NewQuery, {"新", 0xff1565c0}},
        {Cmd::CloseQuery, {"×", 0xff6d4c41}},     {Cmd::Disconnect, {"断", 0xffc62828}},
        {Cmd::CloseAll, {"全", 0xff6d4c41}},       {Cmd::ViewDatabasePanel, {"表", 0xff00838f}},
        {Cmd::ViewObjectPanel, {"情", 0xff00838f}}, {Cmd::EditUndo, {"↶", 0xff546e7a}},
        {Cmd::EditRedo, {"↷", 0xff546e7a}},       {Cmd::EditCut, {"✂", 0xff546e7a}},
        {Cmd::EditCopy, {"⎘", 0xff546e7a}},       {Cmd::EditPaste, {"貼", 0xff546e7a}},
        {Cmd::EditFind, {"検", 0xff5e35b1}},       {Cmd::EditReplace, {"置", 0xff5e35b1}},
        {Cmd::EditFindNext, {"次", 0xff5e35b1}},   {Cmd::EditFindPrevious, {"前", 0xff5e35b1}},
        {Cmd::FieldSearch, {"探", 0xff00838f}},    {Cmd::Format, {"整", 0xff8e24aa}},
        {Cmd::ParamSubstitute, {":p", 0xff8e24aa}}, {Cmd::Execute, {"▶", 0xff2e7d32}},
        {Cmd::Cancel, {"■", 0xffc62828}},          {Cmd::Commit, {"C", 0xff1565c0}},
        {Cmd::Rollback, {"R", 0xffc62828}},        {Cmd::SortAscending, {"↑", 0xff3949ab}},
        {Cmd::SortDescending, {"↓", 0xff3949ab}},  {Cmd::SortRowNumber, {"#", 0xff3949ab}},
        {Cmd::SortCustom, {"⇅", 0xff3949ab}},      {Cmd::CopyHeader, {"H", 0xff546e7a}},
        {Cmd::CopyHtml, {"<>", 0xff546e7a}},       {Cmd::ColumnWidth, {"↔", 0xff3949ab}},
        {Cmd::SelectRowsByKey, {"S", 0xff0277bd}}, {Cmd::OtherDataSet, {"一", 0xffef6c00}},
        {Cmd::AddRow, {"+", 0xff2e7d32}},          {Cmd::DeleteRows, {"−", 0xffc62828}},
        {Cmd::WriteChanges, {"更", 0xffef6c00}},   {Cmd::ChangesSql, {"文", 0xffef6c00}},
        {Cmd::TreeSelectAll, {"S*", 0xff0277bd}},  {Cmd::TreeSelect, {"S", 0xff0277bd}},
        {Cmd::TreeInsert, {"I", 0xff0277bd}},      {Cmd::TreeUpdate, {"U", 0xff0277bd}},
        {Cmd::TreeDelete, {"D", 0xff0277bd}},      {Cmd::TreeRefresh, {"⟳", 0xff00838f}},
        {Cmd::EditorFont, {"F", 0xff546e7a}},      {Cmd::GridFont, {"F", 0xff546e7a}},
        {Cmd::SqlInsert, {"I", 0xff0277bd}},       {Cmd::SqlUpdate, {"U", 0xff0277bd}},
        {Cmd::SqlDelete, {"D", 0xff0277bd}},       {Cmd::SelectRowsByItems, {"S2", 0xff0277bd}},
        {Cmd::SelectColumnsByKey, {"S3", 0xff0277bd}}, {Cmd::SelectColumnsByItems, {"S4", 0xff0277bd}},
        {Cmd::SetExcluded, {"除", 0xffef6c00}},    {Cmd::ClearExcluded, {"戻", 0xffef6c00}},
        {Cmd::SetFunction, {"fx", 0xffef6c00}},    {Cmd::ClearFunction, {"f-", 0xffef6c00}},
        {Cmd::SetNull, {"∅", 0xffef6c00}},         {Cmd::FilePrintPreview, {"覧", 0xff546e7a}},
        {Cmd::FilePrint, {"印", 0xff546e7a}},      {Cmd::FilePrintSetup, {"設", 0xff546e7a}},
        {Cmd::FileSave, {"保", 0xff1565c0}},       {Cmd::FileSaveAs, {"名", 0xff1565c0}},
        {Cmd::FileOpen, {"開", 0xff1565c0}},       {Cmd::RowHeight, {"↕", 0xff3949ab}},
        {Cmd::Options, {"設", 0xff455a64}},        {Cmd::About, {"?", 0xff455a64}},
        {Cmd::ExportFixed, {"固", 0xff558b2f}},    {Cmd::ExportTab, {"⇥", 0xff558b2f}},
        {Cmd::ExportCsv, {",", 0xff558b2f}},       {Cmd::ExportInsert, {"I", 0xff558b2f}},
    };
    return table;
}

} // namespace

namespace AppIcons {

QIcon application()
{
    static const QIcon icon = drawGlyph({"Q", 0xff1565c0});
    return icon;
}

QIcon forCommand(int id)
{
    static QHash<int, QIcon> cache;
    const auto it = cache.constFind(id);
    if (it != cache.cend())
        return *it;
    const auto g = glyphs().constFind(id);
    const QIcon icon = g == glyphs().cend() ? QIcon() : drawGlyph(*g);
    cache.insert(id, icon);
    return icon;
}

} // namespace AppIcons
