#include "platform/ColorRef.h"
#include "platform/LogFont.h"

#include <gtest/gtest.h>

TEST(LogFont, record_is_92_little_endian_bytes_and_round_trips)
{
    LogFont f = LogFont::defaultFont(LogFont::Variant::Editor, 0x411);
    f.italic = 1;
    const QByteArray bytes = f.toBytes();
    ASSERT_EQ(bytes.size(), 92);
    EXPECT_EQ(bytes.left(4), QByteArray("\xf3\xff\xff\xff", 4)); // height -13
    EXPECT_EQ(bytes.mid(16, 4), QByteArray("\x90\x01\x00\x00", 4)); // weight 400
    EXPECT_EQ(quint8(bytes[20]), 1);   // italic
    EXPECT_EQ(quint8(bytes[23]), 128); // character set
    EXPECT_EQ(bytes.mid(28, 2), QByteArray("\x2d\xff", 2)); // "Ｍ" U+FF2D
    EXPECT_EQ(bytes.mid(28 + 2 * 7, 2), QByteArray("\0\0", 2)); // terminator after 7 units

    LogFont back;
    ASSERT_TRUE(LogFont::fromBytes(bytes, &back));
    EXPECT_EQ(back, f);
}

TEST(LogFont, other_lengths_are_refused_and_long_faces_are_cut)
{
    LogFont f;
    EXPECT_FALSE(LogFont::fromBytes(QByteArray(91, 'a'), &f));
    EXPECT_FALSE(LogFont::fromBytes(QByteArray(), &f));
    f.faceName = QString(40, QLatin1Char('x'));
    LogFont back;
    ASSERT_TRUE(LogFont::fromBytes(f.toBytes(), &back));
    EXPECT_EQ(back.faceName.size(), 31);
}

TEST(LogFont, point_size_is_height_at_the_screen_resolution)
{
    LogFont f;
    f.height = -13;
    EXPECT_EQ(f.pointSize(96), 10);
    EXPECT_EQ(f.pointSize(120), 8);
    f.height = 16;
    EXPECT_EQ(f.pointSize(96), 12);
    const QFont q = f.toQFont(96);
    EXPECT_DOUBLE_EQ(q.pointSizeF(), 12.0);
}

TEST(ColorRef, colour_is_bgr_with_bold_in_bit_28)
{
    const ColorRef c(0x10C8FFFF);
    EXPECT_EQ(c.red(), 255);
    EXPECT_EQ(c.green(), 255);
    EXPECT_EQ(c.blue(), 200);
    EXPECT_TRUE(c.bold());
    EXPECT_EQ(c.weight(), 700);
    EXPECT_EQ(c.rgb(), 0xC8FFFFu);
    EXPECT_EQ(ColorRef::fromColor(QColor(255, 0, 0)).value, 0x0000FFu);
    EXPECT_EQ(ColorRef(0x0000FF).weight(), 400);
}
