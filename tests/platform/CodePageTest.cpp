#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, shift_jis_round_trip_and_hash_for_unrepresentable)
{
    const QString text = QStringLiteral("abc日本語ｶﾅ");
    const QByteArray bytes = CodePage::fromUnicode(text, 932);
    EXPECT_EQ(bytes, QByteArray("abc\x93\xfa\x96\x7b\x8c\xea\xb6\xc5"));
    EXPECT_EQ(CodePage::toUnicode(bytes, 932), text);

    bool lossy = false;
    // An emoji (surrogate pair) and a Hangul syllable have no CP932 form.
    EXPECT_EQ(CodePage::fromUnicode(QStringLiteral("a😀b한c"), 932, &lossy), QByteArray("a#b#c"));
    EXPECT_TRUE(lossy);
}

TEST(CodePage, utf8_is_lossless_and_process_code_page_is_settable)
{
    const QString text = QStringLiteral("x😀y");
    bool lossy = true;
    EXPECT_EQ(CodePage::toUnicode(CodePage::fromUnicode(text, 65001, &lossy), 65001), text);
    EXPECT_FALSE(lossy);

    const int before = CodePage::processCodePage();
    CodePage::setProcessCodePage(932);
    EXPECT_EQ(CodePage::fromUnicode(QStringLiteral("表")), QByteArray("\x95\x5c"));
    CodePage::setProcessCodePage(before);
}

TEST(CodePage, invalid_bytes_become_replacement_characters)
{
    const QString text = CodePage::toUnicode(QByteArray("a\x81"), 932);
    EXPECT_EQ(text.left(1), QStringLiteral("a"));
    EXPECT_EQ(text.size(), 2);
}
