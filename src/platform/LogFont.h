#pragma once

#include <QByteArray>
#include <QFont>
#include <QString>

// A logical-font record with the exact 92-byte little-endian layout stored in the settings:
// five int32 (height, width, escapement, orientation, weight), eight uint8 (italic,
// underline, strike-out, character set, output precision, clip precision, quality, pitch
// and family) and a face name of 32 UTF-16 code units, zero-terminated.
struct LogFont
{
    static constexpr int RecordSize = 92;
    static constexpr int FaceSize = 32;

    qint32 height = 0;
    qint32 width = 0;
    qint32 escapement = 0;
    qint32 orientation = 0;
    qint32 weight = 0;
    quint8 italic = 0;
    quint8 underline = 0;
    quint8 strikeOut = 0;
    quint8 charSet = 0;
    quint8 outPrecision = 0;
    quint8 clipPrecision = 0;
    quint8 quality = 0;
    quint8 pitchAndFamily = 0;
    QString faceName; // at most 31 code units are stored

    enum class Variant { Editor, Grid };

    QByteArray toBytes() const;
    // Fails (returns false, leaves *out untouched) unless bytes is exactly 92 bytes long.
    static bool fromBytes(const QByteArray &bytes, LogFont *out);

    // The default font for a system language id: 0x411 Japanese, 0x804 Simplified Chinese,
    // anything else the platform's default font.
    static LogFont defaultFont(Variant variant, int languageId);
    static LogFont defaultFont(Variant variant);

    // Conversion at a screen's vertical resolution (dots per inch).
    QFont toQFont(int dpiY = 96) const;
    static LogFont fromQFont(const QFont &font, int dpiY = 96);
    // Size in points as the font controls show it: |height| at dpiY, rounded.
    int pointSize(int dpiY = 96) const;

    bool operator==(const LogFont &other) const = default;
};

// The system default language id from the locale: 0x411, 0x804, or 0x409 for the rest.
int systemLanguageId();
