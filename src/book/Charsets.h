#pragma once

#include <QByteArrayView>
#include <QString>

#include <map>
#include <memory>

namespace tolvaro {

// Windows code page numbers, as a book's charset declaration is mapped to them.
inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned kCodePageWindows1252 = 1252;

// The code page a "ncc:charset" line declares (the whole line as read); 0 when no known name
// occurs in it or none of the row's code pages is installed. A code page is installed when iconv
// can convert from it.
unsigned CharsetToCodePage(QByteArrayView line);

// The iconv name of a code page; empty for one we do not know.
const char* IconvName(unsigned codePage);
bool IsValidCodePage(unsigned codePage);

// Decodes book text read byte by byte, in one code page. Keeps one converter per code page it
// was asked for, so decoding thousands of values opens each converter once.
//   0       the system page: UTF-8 when the bytes are valid UTF-8, else windows-1252;
//   65001   UTF-8; bytes that are not valid UTF-8 (books that declare utf-8 and hold
//           windows-1252) are decoded as windows-1252;
//   1252    windows-1252, the five bytes it leaves undefined becoming U+FFFD;
//   others  iconv; a byte it cannot convert becomes U+FFFD and conversion goes on after it.
// Values of any length are decoded whole.
class BookTextDecoder {
public:
    BookTextDecoder();
    ~BookTextDecoder();
    BookTextDecoder(const BookTextDecoder&) = delete;
    BookTextDecoder& operator=(const BookTextDecoder&) = delete;

    QString Decode(QByteArrayView bytes, unsigned codePage);

private:
    struct Converter;
    QString DecodeWithIconv(QByteArrayView bytes, unsigned codePage);
    std::map<unsigned, std::unique_ptr<Converter>> m_converters;
};

// Decodes bytes as windows-1252.
QString DecodeWindows1252(QByteArrayView bytes);

} // namespace tolvaro
