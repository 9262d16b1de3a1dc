#include "daisy3/Daisy3Files.h"

#include <QDir>
#include <QHash>
#include <QXmlStreamReader>

namespace tolvaro::daisy3 {
namespace {

bool Is(const QXmlStreamReader& xml, QStringView name) {
    return xml.name().compare(name, Qt::CaseInsensitive) == 0;
}

QString Attribute(const QXmlStreamReader& xml, QStringView name) {
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        if (a.name().compare(name, Qt::CaseInsensitive) == 0)
            return a.value().toString();
    }
    return {};
}

// The text of the element just opened, up to its end, white space collapsed.
QString ElementText(QXmlStreamReader& xml) {
    return xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
}

// "file.smil#id" as its two parts.
std::pair<QString, QString> SplitSource(const QString& src) {
    const qsizetype hash = src.indexOf(u'#');
    return hash < 0 ? std::pair{src, QString()} : std::pair{src.left(hash), src.mid(hash + 1)};
}

// A well-formed document, or one that ends early; any other error makes it unreadable.
bool Readable(const QXmlStreamReader& xml) {
    return !xml.hasError() || xml.error() == QXmlStreamReader::PrematureEndOfDocumentError;
}

} // namespace

QString PackageFileIn(const QString& folder) {
    return QDir(folder)
        .entryList({QStringLiteral("*.opf")}, QDir::Files, QDir::Name | QDir::IgnoreCase)
        .value(0);
}

std::optional<Package> ReadPackage(const QByteArray& opf) {
    QXmlStreamReader xml(opf);
    Package p;
    QString uniqueId, firstIdentifier;
    QHash<QString, QString> items; // manifest id -> href
    QStringList spineIds;
    bool package = false;
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (Is(xml, u"package")) {
            package = true;
            uniqueId = Attribute(xml, u"unique-identifier");
        } else if (Is(xml, u"Title") && p.meta.title.isEmpty()) {
            p.meta.title = ElementText(xml);
        } else if (Is(xml, u"Date") && p.meta.date.isEmpty()) {
            p.meta.date = ElementText(xml);
        } else if (Is(xml, u"Language") && p.meta.language.isEmpty()) {
            p.meta.language = ElementText(xml);
        } else if (Is(xml, u"Identifier")) {
            const bool named = !uniqueId.isEmpty() && Attribute(xml, u"id") == uniqueId;
            const QString value = ElementText(xml);
            if (named)
                p.meta.identifier = value;
            else if (firstIdentifier.isEmpty())
                firstIdentifier = value;
        } else if (Is(xml, u"meta") && Attribute(xml, u"name") == u"dtb:totalTime") {
            p.meta.totalTime = Attribute(xml, u"content");
        } else if (Is(xml, u"item")) {
            items.insert(Attribute(xml, u"id"), Attribute(xml, u"href"));
            if (Attribute(xml, u"media-type") == u"application/x-dtbncx+xml")
                p.ncx = Attribute(xml, u"href");
        } else if (Is(xml, u"itemref")) {
            spineIds.append(Attribute(xml, u"idref"));
        }
    }
    if (!package || !Readable(xml))
        return std::nullopt;
    if (p.meta.identifier.isEmpty())
        p.meta.identifier = firstIdentifier;
    for (const QString& id : spineIds) {
        if (const QString href = items.value(id); !href.isEmpty())
            p.spine.append(href);
    }
    return p;
}

std::optional<Ncx> ReadNcx(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    Ncx ncx;
    bool found = false;
    int depth = 0;
    Target* open = nullptr; // the navPoint or pageTarget whose label and content come next
    const auto start = [&](std::vector<Target>& list, int at) {
        list.push_back({{}, {}, {}, at, Attribute(xml, u"id")});
        open = &list.back();
    };
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isEndElement() && Is(xml, u"navPoint")) {
            --depth;
        } else if (!xml.isStartElement()) {
            continue;
        } else if (Is(xml, u"ncx")) {
            found = true;
        } else if (Is(xml, u"navPoint")) {
            start(ncx.points, ++depth);
        } else if (Is(xml, u"pageTarget")) {
            start(ncx.pages, 1);
        } else if (Is(xml, u"navTarget") || Is(xml, u"navList")) {
            open = nullptr; // other lists: not read
        } else if (Is(xml, u"docTitle")) {
            xml.readNextStartElement();
            if (Is(xml, u"text"))
                ncx.docTitle = ElementText(xml);
        } else if (Is(xml, u"text") && open && open->label.isEmpty()) {
            open->label = ElementText(xml);
        } else if (Is(xml, u"content") && open) {
            std::tie(open->smil, open->fragment) = SplitSource(Attribute(xml, u"src"));
            open = nullptr;
        }
    }
    if (!found || !Readable(xml))
        return std::nullopt;
    return ncx;
}

namespace {

// A par or seq's customTest as the skip class the phrase table knows.
QString SkipClass(const QString& customTest) {
    static const std::pair<const char16_t*, const char16_t*> kClasses[] = {
        {u"pagenum", u"pagenumber"}, {u"note", u"footnote"},     {u"noteref", u"footnote"},
        {u"sidebar", u"sidebar"},    {u"prodnote", u"prodnote"}, {u"annotation", u"prodnote"},
    };
    for (const auto& [test, skip] : kClasses) {
        if (customTest.compare(test, Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(skip);
    }
    return {};
}

Clip ReadClip(const QXmlStreamAttributes& a) {
    return {a.value(QLatin1String("src")).toString(),
            ParseClockValue(a.value(QLatin1String("clipBegin"))).value_or(0.0),
            ParseClockValue(a.value(QLatin1String("clipEnd"))).value_or(-1.0)};
}

} // namespace

// SMIL names its elements and attributes in lower and camel case exactly: they are compared as
// written, which matters in files of many thousands of elements.
std::optional<std::vector<Par>> ReadSmil(const QByteArray& smil) {
    QXmlStreamReader xml(smil);
    std::vector<Par> pars;
    std::vector<QString> skips{QString()}; // the skip class of each open seq and par
    QStringList seqIds;                    // seqs opened since the last par
    bool inPar = false;
    while (!xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        const QStringView name = xml.name();
        const bool par = name == u"par", seq = name == u"seq";
        if (token == QXmlStreamReader::EndElement && (par || seq)) {
            inPar = inPar && !par;
            if (skips.size() > 1)
                skips.pop_back();
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const bool text = name == u"text", audio = name == u"audio";
        if (par || seq) {
            const QString own = SkipClass(a.value(QLatin1String("customTest")).toString());
            skips.push_back(own.isEmpty() ? skips.back() : own);
        }
        if (seq && !a.value(QLatin1String("id")).isEmpty()) {
            seqIds.append(a.value(QLatin1String("id")).toString());
        } else if (par || ((text || audio) && !inPar)) {
            // A par, or a text or audio outside any: a phrase of its own.
            pars.push_back({seqIds,
                            par ? a.value(QLatin1String("id")).toString() : QString(),
                            {},
                            {},
                            {},
                            {},
                            skips.back()});
            if (par)
                pars.back().ids.append(pars.back().parId);
            seqIds.clear();
            inPar = par;
        }
        if (pars.empty())
            continue;
        Par& current = pars.back();
        if (text) {
            std::tie(current.textSrc, current.fragment) =
                SplitSource(a.value(QLatin1String("src")).toString());
            current.textId = a.value(QLatin1String("id")).toString();
            current.ids.append(current.textId);
        } else if (audio) {
            current.clips.push_back(ReadClip(a));
        }
    }
    if (!Readable(xml))
        return std::nullopt;
    return pars;
}

namespace {

// The longest clock value taken, far past any recording: 100 days.
constexpr double kLongestClock = 100 * 24 * 3600.0;

// A field of a clock value: a number of at least 0, written without a sign (Qt refuses one too
// large for a double).
std::optional<double> ClockField(QStringView field) {
    bool ok = false;
    const double value = field.toDouble(&ok);
    if (!ok || value < 0 || field.startsWith(u'+'))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> ParseClockValue(QStringView text) {
    text = text.trimmed();
    const qsizetype colons = text.count(u':');
    if (text.isEmpty() || colons > 2)
        return std::nullopt;
    double seconds = 0.0;
    if (colons > 0) { // a full or partial clock
        for (const QStringView field : text.tokenize(u':')) {
            const std::optional<double> value = ClockField(field);
            if (!value)
                return std::nullopt;
            seconds = seconds * 60.0 + *value;
        }
    } else {
        static const std::pair<const char16_t*, double> kUnits[] = {
            {u"ms", 0.001}, {u"min", 60.0}, {u"h", 3600.0}, {u"s", 1.0}};
        double factor = 1.0;
        for (const auto& [unit, scale] : kUnits) {
            if (text.endsWith(unit)) {
                text.chop(QStringView(unit).size());
                factor = scale;
                break;
            }
        }
        const std::optional<double> value = ClockField(text);
        if (!value)
            return std::nullopt;
        seconds = *value * factor;
    }
    return seconds <= kLongestClock ? std::optional(seconds) : std::nullopt;
}

} // namespace tolvaro::daisy3
