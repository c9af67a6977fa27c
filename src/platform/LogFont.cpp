#include "LogFont.h"

#include <QFontDatabase>
#include <QLocale>
#include <QtEndian>
#include <cmath>

namespace {

void putInt(QByteArray &bytes, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + offset);
}

qint32 getInt(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

// Families that stand in on Linux for the faces of the Japanese and Chinese defaults.
QStringList fallbackFamilies(const QString &face, bool fixedPitch)
{
    QStringList families{face};
    if (face.contains(QStringLiteral("ゴシック")) || face.contains(QStringLiteral("Gothic")))
        families << (fixedPitch ? QStringLiteral("Noto Sans Mono CJK JP")
                                : QStringLiteral("Noto Sans CJK JP"));
    else if (face == QStringLiteral("宋体"))
        families << QStringLiteral("Noto Serif CJK SC") << QStringLiteral("Noto Sans CJK SC");
    families << (fixedPitch ? QStringLiteral("monospace") : QStringLiteral("sans-serif"));
    return families;
}

bool isFixedPitchFace(const QString &face)
{
    return face == QStringLiteral("ＭＳ ゴシック") || face.contains(QStringLiteral("Mono"))
           || face.contains(QStringLiteral("Courier"));
}

} // namespace

QByteArray LogFont::toBytes() const
{
    QByteArray bytes(RecordSize, '\0');
    putInt(bytes, 0, height);
    putInt(bytes, 4, width);
    putInt(bytes, 8, escapement);
    putInt(bytes, 12, orientation);
    putInt(bytes, 16, weight);
    const quint8 flags[8] = {italic, underline, strikeOut, charSet,
                             outPrecision, clipPrecision, quality, pitchAndFamily};
    for (int i = 0; i < 8; ++i)
        bytes[20 + i] = char(flags[i]);
    const int units = int(qMin<qsizetype>(faceName.size(), FaceSize - 1));
    for (int i = 0; i < units; ++i)
        qToLittleEndian<quint16>(faceName.at(i).unicode(), bytes.data() + 28 + 2 * i);
    return bytes;
}

bool LogFont::fromBytes(const QByteArray &bytes, LogFont *out)
{
    if (bytes.size() != RecordSize)
        return false;
    LogFont f;
    f.height = getInt(bytes, 0);
    f.width = getInt(bytes, 4);
    f.escapement = getInt(bytes, 8);
    f.orientation = getInt(bytes, 12);
    f.weight = getInt(bytes, 16);
    f.italic = quint8(bytes[20]);
    f.underline = quint8(bytes[21]);
    f.strikeOut = quint8(bytes[22]);
    f.charSet = quint8(bytes[23]);
    f.outPrecision = quint8(bytes[24]);
    f.clipPrecision = quint8(bytes[25]);
    f.quality = quint8(bytes[26]);
    f.pitchAndFamily = quint8(bytes[27]);
    for (int i = 0; i < FaceSize; ++i) {
        const quint16 unit = qFromLittleEndian<quint16>(bytes.constData() + 28 + 2 * i);
        if (unit == 0)
            break;
        f.faceName.append(QChar(unit));
    }
    *out = f;
    return true;
}

LogFont LogFont::defaultFont(Variant variant, int languageId)
{
    LogFont f;
    if (languageId == 0x411) {
        f.charSet = 128;
        f.faceName = variant == Variant::Editor ? QStringLiteral("ＭＳ ゴシック")
                                                : QStringLiteral("ＭＳ Ｐゴシック");
        f.height = -13;
        f.weight = 400;
        return f;
    }
    if (languageId == 0x804) {
        f.charSet = 134;
        f.faceName = QStringLiteral("宋体");
        f.height = -13;
        f.weight = 400;
        return f;
    }
    // The platform's default font; the editor gets the fixed-pitch system font.
    const QFont system = QFontDatabase::systemFont(
        variant == Variant::Editor ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont);
    return fromQFont(system);
}

LogFont LogFont::defaultFont(Variant variant)
{
    return defaultFont(variant, systemLanguageId());
}

int LogFont::pointSize(int dpiY) const
{
    if (height == 0)
        return 0;
    return int(std::lround(std::abs(height) * 72.0 / dpiY));
}

QFont LogFont::toQFont(int dpiY) const
{
    QFont font;
    const bool fixedPitch = (pitchAndFamily & 0x3) == 1 || isFixedPitchFace(faceName);
    font.setFamilies(fallbackFamilies(faceName, fixedPitch));
    if (height != 0)
        font.setPointSizeF(qMax(1.0, std::abs(height) * 72.0 / dpiY));
    if (weight > 0)
        font.setWeight(QFont::Weight(qBound(1, weight, 1000)));
    font.setItalic(italic != 0);
    font.setUnderline(underline != 0);
    font.setStrikeOut(strikeOut != 0);
    if (fixedPitch)
        font.setStyleHint(QFont::Monospace);
    return font;
}

LogFont LogFont::fromQFont(const QFont &font, int dpiY)
{
    LogFont f;
    if (font.pixelSize() > 0)
        f.height = -qint32(font.pixelSize());
    else
        f.height = -qint32(std::lround(font.pointSizeF() * dpiY / 72.0));
    f.weight = font.weight();
    f.italic = font.italic() ? 1 : 0;
    f.underline = font.underline() ? 1 : 0;
    f.strikeOut = font.strikeOut() ? 1 : 0;
    f.charSet = 1; // the "default" character set
    f.pitchAndFamily = font.fixedPitch() ? 1 : 0;
    f.faceName = font.family().left(FaceSize - 1);
    return f;
}

int systemLanguageId()
{
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::Japanese)
        return 0x411;
    if (locale.language() == QLocale::Chinese && locale.script() != QLocale::TraditionalChineseScript)
        return 0x804;
    return 0x409;
}
