#include "DaisyWriter.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace tolvaro::bookwriter {
namespace {

QString Escape(const QString& text) {
    return text.toHtmlEscaped();
}

QString Clock(double seconds) {
    const int ms = qRound(seconds * 1000.0);
    return QString::asprintf("%d:%02d:%02d.%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                             ms % 1000);
}

bool Save(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

struct Wav {
    int sampleRate = 0;
    QByteArray samples;
};

// The PCM data of a WAV file (the format chunk's rate, the data chunk's bytes).
Wav ReadWav(const QByteArray& wav) {
    Wav w;
    qsizetype at = 12;
    while (at + 8 <= wav.size()) {
        const QByteArray id = wav.mid(at, 4);
        const auto size =
            static_cast<qsizetype>(qFromLittleEndian<quint32>(wav.constData() + at + 4));
        if (id == "fmt " && at + 16 <= wav.size())
            w.sampleRate = static_cast<int>(qFromLittleEndian<quint32>(wav.constData() + at + 12));
        if (id == "data")
            w.samples = wav.mid(at + 8, qMin(size, wav.size() - at - 8));
        at += 8 + size + (size & 1);
    }
    return w;
}

QString Head(const QString& title, const QString& extra) {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
               "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\n"
               "<title>%1</title>\n%2</head>\n<body>\n")
        .arg(Escape(title), extra);
}

} // namespace

QByteArray SilentWav(double seconds, int sampleRate) {
    const auto count = static_cast<qsizetype>(seconds * sampleRate);
    return MakeWav(QByteArray(count * 2, '\0'), sampleRate);
}

double WavSeconds(const QByteArray& wav) {
    const Wav w = ReadWav(wav);
    return w.sampleRate > 0 ? static_cast<double>(w.samples.size()) / 2.0 / w.sampleRate : 0.0;
}

bool WriteBook(const BookSpec& book, const QString& folder, const Speaker& speak) {
    if (!QDir().mkpath(folder))
        return false;
    const QString dir = folder.endsWith(u'/') ? folder : folder + u'/';
    QString ncc, text, pages;
    double total = 0.0;
    int entries = 0, pageCount = 0, idCount = 0;
    QString body;
    for (std::size_t s = 0; s < book.sections.size(); ++s) {
        const Section& section = book.sections[s];
        const QString name = QString::asprintf("tlv_%04zu", s + 1);
        const QString headingId = QStringLiteral("h%1").arg(s + 1);
        body += QStringLiteral("<h%1 id=\"%2\">%3</h%1>\n")
                    .arg(section.level)
                    .arg(headingId, Escape(section.title));
        ncc += QStringLiteral("<h%1 id=\"n%2\"><a href=\"%3.smil#p%2_0\">%4</a></h%1>\n")
                   .arg(section.level)
                   .arg(s + 1)
                   .arg(name, Escape(section.title));
        ++entries;
        for (const QString& label : section.pagesAtStart) {
            ncc += QStringLiteral("<span class=\"page-normal\" id=\"page%1\"><a "
                                  "href=\"%2.smil#p%3_0\">%4</a></span>\n")
                       .arg(++pageCount)
                       .arg(name)
                       .arg(s + 1)
                       .arg(Escape(label));
            ++entries;
        }
        // The heading's own title is its first phrase.
        std::vector<Phrase> phrases{{section.title, {}}};
        phrases.insert(phrases.end(), section.phrases.begin(), section.phrases.end());
        QByteArray samples;
        int rate = 0;
        QString pars;
        for (std::size_t p = 0; p < phrases.size(); ++p) {
            const Wav wav = ReadWav(speak(phrases[p].text));
            rate = wav.sampleRate ? wav.sampleRate : 8000;
            const double begin = static_cast<double>(samples.size()) / 2.0 / rate;
            samples += wav.samples;
            const double end = static_cast<double>(samples.size()) / 2.0 / rate;
            const QString textId = p == 0 ? headingId : QStringLiteral("t%1").arg(++idCount);
            if (p > 0)
                body +=
                    QStringLiteral("<p id=\"%1\">%2</p>\n").arg(textId, Escape(phrases[p].text));
            const QString system =
                phrases[p].skipClass.isEmpty()
                    ? QString()
                    : QStringLiteral(" system-required=\"%1-on\"").arg(phrases[p].skipClass);
            pars += QStringLiteral("<par endsync=\"last\" id=\"p%1_%2\"%3>\n"
                                   "<text src=\"content.html#%4\" id=\"x%1_%2\" />\n"
                                   "<audio src=\"%5.wav\" clip-begin=\"npt=%6s\" "
                                   "clip-end=\"npt=%7s\" id=\"a%1_%2\" />\n"
                                   "</par>\n")
                        .arg(s + 1)
                        .arg(p)
                        .arg(system, textId, name)
                        .arg(begin, 0, 'f', 3)
                        .arg(end, 0, 'f', 3);
        }
        const double length = static_cast<double>(samples.size()) / 2.0 / rate;
        const QString smil =
            QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<smil>\n<head>\n"
                           "<meta name=\"dc:format\" content=\"Daisy 2.02\" />\n"
                           "<meta name=\"ncc:totalElapsedTime\" content=\"%1\" />\n"
                           "<meta name=\"ncc:timeInThisSmil\" content=\"%2\" />\n"
                           "</head>\n<body>\n<seq dur=\"%3s\">\n%4</seq>\n</body>\n</smil>\n")
                .arg(Clock(total), Clock(length))
                .arg(length, 0, 'f', 3)
                .arg(pars);
        total += length;
        if (!Save(dir + name + QStringLiteral(".smil"), smil.toUtf8()) ||
            !Save(dir + name + QStringLiteral(".wav"), MakeWav(samples, rate)))
            return false;
    }
    const QString meta =
        QStringLiteral("<meta name=\"dc:title\" content=\"%1\" />\n"
                       "<meta name=\"dc:identifier\" content=\"%2\" />\n"
                       "<meta name=\"dc:date\" content=\"%3\" />\n"
                       "<meta name=\"dc:language\" content=\"%4\" />\n"
                       "<meta name=\"dc:format\" content=\"Daisy 2.02\" />\n"
                       "<meta name=\"ncc:charset\" content=\"utf-8\" />\n"
                       "<meta name=\"ncc:setInfo\" content=\"1 of 1\" />\n"
                       "<meta name=\"ncc:tocItems\" content=\"%5\" />\n"
                       "<meta name=\"ncc:totalTime\" content=\"%6\" />\n"
                       "<meta name=\"ncc:multimediaType\" content=\"audioFullText\" />\n")
            .arg(Escape(book.title), Escape(book.identifier), book.date, book.language)
            .arg(entries)
            .arg(Clock(total));
    const QString nccFile = Head(book.title, meta) + ncc + QStringLiteral("</body>\n</html>\n");
    const QString content = Head(book.title, {}) + body + QStringLiteral("</body>\n</html>\n");
    return Save(dir + QStringLiteral("ncc.html"), nccFile.toUtf8()) &&
           Save(dir + QStringLiteral("content.html"), content.toUtf8());
}

} // namespace tolvaro::bookwriter
