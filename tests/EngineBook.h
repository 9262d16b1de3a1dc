#pragma once

#include "Session.h"

namespace tolvaro::test {

// A par of a SMIL file: its audio file ("" for none), clip and skip class.
struct Par {
    const char* audio;
    double begin, end;
    const char* skip = "";
};

inline QByteArray SmilFile(const std::vector<Par>& pars, int heading,
                           const QByteArray& text = "t.html") {
    QByteArray body;
    int n = 0;
    for (const Par& p : pars) {
        const QByteArray id = QByteArray::number(heading) + "_" + QByteArray::number(n++);
        body += "<par id=\"p" + id + "\"" +
                (*p.skip ? QByteArray(" system-required=\"") + p.skip + "-on\"" : QByteArray()) +
                ">\n<text src=\"" + text + "#t" + id + "\" id=\"x" + id + "\"/>\n";
        if (*p.audio)
            body += QByteArray("<audio src=\"") + p.audio +
                    "\" clip-begin=\"npt=" + QByteArray::number(p.begin) +
                    "s\" clip-end=\"npt=" + QByteArray::number(p.end) + "s\"/>\n";
        body += "</par>\n";
    }
    return "<smil>\n<head>\n</head>\n<body>\n" + body + "</body>\n</smil>\n";
}

// A book of headings (level, pars) written to disk and opened; the title clip is passed.
struct EngineBook : Session {
    QByteArray nccHead;                 // lines for the NCC's head
    QByteArray textDocument = "t.html"; // the document every phrase shows

    // `partChange`: the heading whose NCC entry carries a rel attribute.
    void Open(const std::vector<std::pair<int, std::vector<Par>>>& headings, bool autoPlay = true,
              int partChange = -1, const QByteArray& extraNcc = {}) {
        QByteArray ncc = "<html>\n<head>\n" + nccHead + "</head>\n<body>\n";
        for (std::size_t h = 0; h < headings.size(); ++h) {
            const QByteArray name = "s" + QByteArray::number(static_cast<int>(h)) + ".smil";
            const QByteArray rel = static_cast<int>(h) == partChange ? " rel=\"next\"" : "";
            ncc += "<h" + QByteArray::number(headings[h].first) + "><a href=\"" + name + "#p\"" +
                   rel + ">H" + QByteArray::number(static_cast<int>(h)) + "</a></h" +
                   QByteArray::number(headings[h].first) + ">\n";
            Write(name, SmilFile(headings[h].second, static_cast<int>(h), textDocument));
            for (const Par& par : headings[h].second) {
                if (*par.audio && !QFile::exists(dir.filePath(QString::fromLatin1(par.audio))))
                    Write(par.audio, {}); // a phrase plays only from a file that is there
            }
        }
        Write("ncc.html", ncc + extraNcc + "</body>\n</html>\n");
        Start();
        if (dlg.AutoPlay() != autoPlay) {
            dlg.Commands().SetEnabled(kAutoPlay, true);
            dlg.RunCommand(kAutoPlay);
        }
        OpenFile(dir.filePath("ncc.html")); // the title clip passes, then the first heading
    }
    // The clip plays to its end: position at the end, then one poll.
    void PlayToEnd() {
        fake.player.position = dlg.Playback().m_dPhraseEnd;
        Poll();
    }
    void Poll() { fake.timers.Advance(PhraseEngine::kPollMs); }
};

} // namespace tolvaro::test
