#include "book/Charsets.h"

#include "io/AsciiText.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <initializer_list>
#include <vector>

namespace tolvaro {
namespace {

struct CharsetRow {
    std::initializer_list<const char*> names;
    std::initializer_list<unsigned> codePages;
    bool stop; // when none of the code pages is installed: stop (true) or try the next rows
};

const CharsetRow kRows[] = {
    {{"utf-8"}, {65001}, false},
    {{"utf-7"}, {65000}, false},
    {{"shift_jis", "cp-932", "iso-2022-jp", "euc-jp"}, {932, 50220, 51932}, true},
    {{"cp-936"}, {936}, false},
    {{"cp-950"}, {950}, false},
    {{"windows-1250", "iso-8859-2"}, {1250, 28592}, true},
    {{"windows-1251", "iso-8859-5", "koi8-r"}, {1251, 28595, 20866}, true},
    {{"windows-1252", "iso-8859-1", "latin1"}, {1252, 28591}, true},
    {{"windows-1253"}, {1253}, false},
    {{"windows-1254", "iso-8859-9", "latin5"}, {28599, 1254}, true},
    {{"windows-1255"}, {1255}, false},
    {{"windows-1256"}, {1256}, false},
    {{"windows-1257", "iso-8859-13"}, {1257}, false},
    {{"big5"}, {10002}, false},
    {{"us-ascii"}, {20127}, false},
    {{"gb2312"}, {20936}, false},
    {{"iso-8859-3", "latin3"}, {28593}, false},
    {{"iso-8859-4", "iso-8859-10"}, {28594}, false},
    {{"iso-8859-6"}, {28596}, false},
    {{"iso-8859-7"}, {28597}, false},
    {{"iso-8859-8"}, {28598}, false},
    {{"iso-8859-15", "latin9"}, {28605}, false},
    {{"iso-2022-kr"}, {50225}, false},
    {{"euc-cn"}, {51936}, false},
    {{"euc-kr"}, {51949}, false},
    {{"hz-gb-2312"}, {52936}, false},
};

const std::pair<unsigned, const char*> kIconvNames[] = {
    {65001, "UTF-8"},       {65000, "UTF-7"},       {932, "CP932"},        {50220, "ISO-2022-JP"},
    {51932, "EUC-JP"},      {936, "CP936"},         {950, "CP950"},        {1250, "CP1250"},
    {28592, "ISO-8859-2"},  {1251, "CP1251"},       {28595, "ISO-8859-5"}, {20866, "KOI8-R"},
    {1252, "CP1252"},       {28591, "ISO-8859-1"},  {1253, "CP1253"},      {28599, "ISO-8859-9"},
    {1254, "CP1254"},       {1255, "CP1255"},       {1256, "CP1256"},      {1257, "CP1257"},
    {10002, "BIG5"},        {20127, "ASCII"},       {20936, "GB2312"},     {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},  {28596, "ISO-8859-6"},  {28597, "ISO-8859-7"}, {28598, "ISO-8859-8"},
    {28605, "ISO-8859-15"}, {50225, "ISO-2022-KR"}, {51936, "EUC-CN"},     {51949, "EUC-KR"},
    {52936, "HZ"},
};

// "iso-8859-1" counts only where it is not the start of iso-8859-10, -13 or -15.
bool ContainsName(const std::string& line, std::string_view name) {
    const bool latin1 = name == "iso-8859-1";
    for (std::size_t at = line.find(name); at != std::string::npos; at = line.find(name, at + 1)) {
        const std::size_t next = at + name.size();
        if (!latin1 || next >= line.size() ||
            (line[next] != '0' && line[next] != '3' && line[next] != '5'))
            return true;
    }
    return false;
}

// windows-1252 0x80-0x9F; 0 marks the five bytes it leaves undefined.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

unsigned CharsetToCodePage(QByteArrayView line) {
    std::string lower;
    LowerInto(std::string_view(line.data(), static_cast<std::size_t>(line.size())), lower);
    for (const CharsetRow& row : kRows) {
        bool matches = false;
        for (const char* name : row.names)
            matches = matches || ContainsName(lower, name);
        if (!matches)
            continue;
        for (unsigned codePage : row.codePages) {
            if (IsValidCodePage(codePage))
                return codePage;
        }
        if (row.stop)
            return 0;
    }
    return 0;
}

const char* IconvName(unsigned codePage) {
    for (const auto& [page, name] : kIconvNames) {
        if (page == codePage)
            return name;
    }
    return "";
}

bool IsValidCodePage(unsigned codePage) {
    const char* name = IconvName(codePage);
    if (!*name)
        return false;
    const iconv_t cd = iconv_open("UTF-16LE", name);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(cd);
    return true;
}

QString DecodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        char16_t u = c;
        if (c >= 0x80 && c < 0xA0)
            u = kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : char16_t(0xFFFD);
        *out++ = QChar(u);
    }
    return text;
}

struct BookTextDecoder::Converter {
    iconv_t cd;
    ~Converter() {
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
    }
};

BookTextDecoder::BookTextDecoder() = default;
BookTextDecoder::~BookTextDecoder() = default;

QString BookTextDecoder::Decode(QByteArrayView bytes, unsigned codePage) {
    if (bytes.isEmpty())
        return {};
    switch (codePage) {
    case 0:
    case kCodePageUtf8:
        return bytes.isValidUtf8() ? QString::fromUtf8(bytes) : DecodeWindows1252(bytes);
    case kCodePageWindows1252:
        return DecodeWindows1252(bytes);
    default:
        return DecodeWithIconv(bytes, codePage);
    }
}

QString BookTextDecoder::DecodeWithIconv(QByteArrayView bytes, unsigned codePage) {
    std::unique_ptr<Converter>& converter = m_converters[codePage];
    if (!converter) {
        const char* name = IconvName(codePage);
        converter.reset(
            new Converter{*name ? iconv_open("UTF-16LE", name) : reinterpret_cast<iconv_t>(-1)});
    }
    if (converter->cd == reinterpret_cast<iconv_t>(-1))
        return DecodeWindows1252(bytes);

    iconv(converter->cd, nullptr, nullptr, nullptr, nullptr); // a fresh start for every value
    std::vector<char16_t> out(static_cast<std::size_t>(bytes.size()) * 2 + 8);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = static_cast<std::size_t>(bytes.size());
    std::size_t done = 0;
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(out.data() + done);
        std::size_t outLeft = (out.size() - done) * sizeof(char16_t);
        const std::size_t result = iconv(converter->cd, &in, &inLeft, &outPtr, &outLeft);
        done = static_cast<std::size_t>(reinterpret_cast<char16_t*>(outPtr) - out.data());
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // An invalid or cut-off sequence: one replacement character, then on after the byte.
        if (done >= out.size())
            out.resize(out.size() * 2);
        out[done++] = 0xFFFD;
        ++in;
        --inLeft;
        iconv(converter->cd, nullptr, nullptr, nullptr, nullptr);
    }
    // Flush a stateful encoding's end.
    char* outPtr = reinterpret_cast<char*>(out.data() + done);
    std::size_t outLeft = (out.size() - done) * sizeof(char16_t);
    iconv(converter->cd, nullptr, nullptr, &outPtr, &outLeft);
    done = static_cast<std::size_t>(reinterpret_cast<char16_t*>(outPtr) - out.data());
    return QString(reinterpret_cast<const QChar*>(out.data()), static_cast<qsizetype>(done));
}

} // namespace tolvaro
