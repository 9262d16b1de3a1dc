#include "book/Charsets.h"

#include "Printers.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

QByteArray Meta(const char* charset) {
    return QByteArray("<meta name=\"ncc:charset\" content=\"") + charset + "\" />";
}

TEST(Charsets, DeclarationsToCodePages) {
    const struct {
        const char* charset;
        unsigned codePage;
    } cases[] = {
        {"UTF-8", 65001},
        {"iso-8859-15", 28605},
        {"ISO-8859-1", 1252},
        {"latin1", 1252},
        {"koi8-r", 1251},
        {"windows-1254", 28599},
        {"iso-8859-10", 28594},
        {"iso-8859-13", 1257},
        {"Shift_JIS", 932},
        {"iso-2022-jp", 932}, // the row's first code page, as for every Japanese name
        {"windows-1250", 1250},
        {"euc-kr", 51949},
        {"klingon", 0},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CharsetToCodePage(Meta(c.charset)), c.codePage) << c.charset;
    EXPECT_TRUE(IsValidCodePage(65001));
    EXPECT_FALSE(IsValidCodePage(12345));
}

TEST(Charsets, Decoding) {
    BookTextDecoder d;
    const struct {
        QByteArray bytes;
        unsigned codePage;
        const char* text;
    } cases[] = {
        {"\xc3\xa4", 65001, "ä"},
        {"caf\xe9", 65001, "café"},                     // declared utf-8, really windows-1252
        {"\xc0\xaf", 65001, "À¯"},                      // overlong: no UTF-8
        {"\xf4\x90\x80\x80", 65001, "ô\xEF\xBF\xBD€€"}, // past U+10FFFF: no UTF-8
        {"\x80 \x81", 1252, "€ \xEF\xBF\xBD"},          // 0x81 is undefined there
        {"\xa4", 28605, "€"},                           // ISO 8859-15 through iconv
        {"\x82\xa0", 932, "あ"},
        {"\xff\xff", 932, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"plain", 0, "plain"},
        {"\xe4", 0, "ä"},
        {"", 65001, ""},
        {"\xed\xa0\x80", 65001, "í\xC2\xA0€"}, // a surrogate: no UTF-8
        {"\x1b$B$3$s\x1b(B", 50220, "こん"},   // ASCII bytes that are no Latin-1
    };
    for (const auto& c : cases)
        EXPECT_EQ(d.Decode(c.bytes, c.codePage), QString::fromUtf8(c.text)) << c.codePage;

    // Values far past 2 KiB are decoded whole.
    const QByteArray longValue = QByteArray(3000, 'a') + "\xc3\xa4";
    EXPECT_EQ(d.Decode(longValue, 65001).size(), 3001);
    EXPECT_EQ(d.Decode(QByteArray(5000, '\xe4'), 28591).size(), 5000);
}

} // namespace
} // namespace tolvaro
