#include "daisy202/CA_Daisy.h"

#include "book/BookModel.h"
#include "daisy202/LineSource.h"
#include "daisy202/ReaderState.h"
#include "daisy202/ScanText.h"
#include "daisy202/SmilReader.h"
#include "platform/IProgress.h"
#include "res/StringTable.h"
#include "store/Settings.h"

#include <algorithm>
#include <limits>

namespace tolvaro {
namespace {

bool Has(const std::string& lower, std::string_view key) {
    return lower.find(key) != std::string::npos;
}

// The head values, tested on one line each in this order; a later key overwrites.
void HeadValues(const std::string& line, const std::string& lower, BookMeta& meta) {
    const struct {
        std::string_view key;
        QString BookMeta::*member;
    } keys[] = {
        {"dc:date", &BookMeta::date},
        {"dc:title", &BookMeta::title},
        {"dc:identifier", &BookMeta::identifier},
        {"ncc:identifier", &BookMeta::identifier},
        {"ncc:setinfo", &BookMeta::setInfo},
        {"ncc:tocitems", &BookMeta::tocItems},
        {"ncc:totaltime", &BookMeta::totalTime},
        {"dc:language", &BookMeta::language},
    };
    for (const auto& k : keys) {
        if (Has(lower, k.key))
            meta.*k.member = Latin1(scan::ContentValue(line));
    }
}

} // namespace

// One run over ncc.html.
class CA_Daisy::Ncc {
public:
    Ncc(CA_Daisy& daisy, IProgress& progress)
        : m_d(daisy),
          m_progress(progress), m_s{daisy.m_model.m_lstTitles, daisy.m_model.m_lstPhrases,
                                    daisy.m_features, daisy.m_decoder, daisy.m_folder},
          m_progressOf(u' ' + LoadString(kStrOf + daisy.m_langOffset) + u' ') {}

    void Run(QByteArrayView ncc);

private:
    void Line(std::string& line, std::string& lower);
    void Structure(const std::string& lower);
    void Metadata(const std::string& line, const std::string& lower);
    void Heading(std::string& line, std::string& lower);
    void Page(std::string& line, std::string& lower);
    void Group(const std::string& line, const std::string& lower);
    void ShowProgress(bool last = false);
    void ReadHeadingSmil(const QString& name, int row);

    CA_Daisy& m_d;
    IProgress& m_progress;
    ReaderState m_s;
    LineSource* m_source = nullptr;
    bool m_inHead = false, m_inBody = false;
    int m_entries = 0;
    int m_previousLevel = 1;
    QString m_progressOf;                          // " von "
    QString m_progressTotal = QStringLiteral("0"); // ncc:tocItems, as the range has it
};

void CA_Daisy::Ncc::Run(QByteArrayView ncc) {
    BookModel& m = m_d.m_model;
    for (BookTable* table : {&m.m_lstPhrases, &m.m_lstPages, &m.m_lstTitles}) {
        if (table->RowCount() > 0)
            table->DeleteAllRows();
    }
    m.m_treeTitles.DeleteAllItems();
    LineSource source(ncc);
    m_source = &source;
    std::string line, lower;
    while (source.Next(line)) {
        LowerInto(line, lower);
        Line(line, lower);
        if (m_progress.StopRequested() != IProgress::Stop::None)
            return;
    }
    if (m_entries > 0)
        ShowProgress(true);
    if (m_d.m_meta.date.isEmpty())
        m_d.m_meta.date = QStringLiteral("00-00-0000");
    m_d.m_codePage = m_s.codePage;
}

void CA_Daisy::Ncc::Line(std::string& line, std::string& lower) {
    Structure(lower);
    if (m_inHead) {
        Metadata(line, lower);
        return;
    }
    if (!m_inBody)
        return;
    Heading(line, lower);
    Page(line, lower);
    Group(line, lower);
}

void CA_Daisy::Ncc::Structure(const std::string& lower) {
    if (Has(lower, "<a href") || Has(lower, "<span")) {
        ++m_entries;
        ShowProgress();
        if (Has(lower, " rel=\""))
            m_s.skip = "change";
    } else if (Has(lower, "<head>")) {
        m_inHead = true;
    } else if (Has(lower, "</head>")) {
        m_inHead = false;
    } else if (Has(lower, "<body>")) {
        m_inBody = true;
    } else if (Has(lower, "</body>")) {
        m_inBody = false;
    }
}

// "<entries> von <total>", for every 32nd entry and the last: the window shows a few a second
// at most, and this runs for every entry.
void CA_Daisy::Ncc::ShowProgress(bool last) {
    m_progress.SetPosition(m_entries);
    if (!last && m_entries % 32 != 1)
        return;
    m_progress.SetText(QString::number(m_entries) + m_progressOf + m_progressTotal);
}

void CA_Daisy::Ncc::Metadata(const std::string& line, const std::string& lower) {
    HeadValues(line, lower, m_d.m_meta);
    if (Has(lower, "ncc:tocitems")) {
        const int total = ParseInt(m_d.m_meta.tocItems);
        m_progressTotal = QString::number(total);
        m_progress.SetRange(total);
        m_progress.SetText(
            LoadString(kStrEntriesRead + m_d.m_langOffset).arg(m_entries).arg(total));
    }
    if (Has(lower, "ncc:charset"))
        m_s.codePage =
            CharsetToCodePage(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
}

void CA_Daisy::Ncc::Heading(std::string& line, std::string& lower) {
    const std::size_t at = lower.find("<h");
    if (at == std::string::npos || at + 2 >= lower.size() || lower[at + 2] < '1' ||
        lower[at + 2] > '6' || (at + 3 < lower.size() && lower[at + 3] == '/'))
        return;
    const char digit = lower[at + 2];
    m_source->JoinUntil(line, lower, "</h");
    int level = digit - '0';
    if (level == m_previousLevel + 2)
        --level; // one skipped level is closed up
    m_previousLevel = level;

    BookModel& m = m_d.m_model;
    const int row = m.m_lstTitles.AppendRow();
    const QString treeId = QString::number(row);
    m.m_lstTitles.SetText(row, col::kLevel, QString::number(level));
    const QString title = m_s.Decode(scan::LinkText(line));
    m.m_lstTitles.SetText(row, col::kTitle, title);
    m.m_treeTitles.AppendHeading(level, title, row);
    m.m_lstTitles.SetText(row, col::kTreeId, treeId);
    m_s.treeId = treeId;
    const QString smil = m_s.Decode(scan::LinkTarget(line));
    m.m_lstTitles.SetText(row, col::kSmil, smil);
    ReadHeadingSmil(smil, row);
}

void CA_Daisy::Ncc::ReadHeadingSmil(const QString& name, int row) {
    if (const std::optional<QByteArray> bytes = m_d.m_read(m_d.m_folder + name))
        ReadSmil(*bytes, row, m_s);
}

void CA_Daisy::Ncc::Page(std::string& line, std::string& lower) {
    if (!scan::IsPageSpan(lower))
        return;
    m_source->JoinUntil(line, lower, "</span");
    m_d.m_features.pages = true;
    m_d.m_model.m_lstPages.AppendRow({Latin1(scan::LinkText(line)),
                                      m_s.Decode(scan::LinkTarget(line)),
                                      Latin1(scan::ExtractFragment(line)), m_s.treeId});
}

void CA_Daisy::Ncc::Group(const std::string& line, const std::string& lower) {
    const std::size_t at = lower.find("<div");
    if (at == std::string::npos)
        return;
    m_d.m_features.groups = true;
    m_d.m_model.m_lstGroups.AppendRow({m_s.Decode(scan::GroupLabel(line, at)),
                                       m_s.Decode(scan::LinkTarget(line)),
                                       Latin1(scan::ExtractFragment(line)), m_s.treeId});
}

CA_Daisy::CA_Daisy(BookModel& model, QString bookFolder, int langOffset, BookFileReader read)
    : m_model(model), m_folder(std::move(bookFolder)), m_langOffset(langOffset),
      m_read(std::move(read)) {}

CA_Daisy::~CA_Daisy() = default;

bool CA_Daisy::LoadBook(IProgress& progress) {
    if (progress.StopRequested() != IProgress::Stop::None)
        return false;
    const std::optional<QByteArray> ncc = m_read(m_folder + QStringLiteral("ncc.html"));
    Ncc reader(*this, progress);
    reader.Run(ncc.value_or(QByteArray())); // without ncc.html, this empties the tables
    return ncc.has_value() && progress.StopRequested() == IProgress::Stop::None;
}

std::optional<BookMeta> CA_Daisy::ReadBookHead(const QString& folder, const BookFileReader& read) {
    const std::optional<QByteArray> ncc = read(folder + QStringLiteral("ncc.html"));
    if (!ncc)
        return std::nullopt;
    BookMeta meta;
    LineSource source(*ncc);
    std::string line, lower;
    bool inHead = false;
    while (source.Next(line)) {
        LowerInto(line, lower);
        if (!inHead && !Has(lower, "<head>"))
            continue;
        if (Has(lower, "</head>"))
            break;
        inHead = true;
        HeadValues(line, lower, meta);
    }
    return meta;
}

} // namespace tolvaro
