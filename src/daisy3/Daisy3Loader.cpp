#include "daisy3/Daisy3Loader.h"

#include "book/BookModel.h"
#include "platform/IProgress.h"

#include <QHash>

#include <algorithm>

namespace tolvaro {
namespace {

// A clip without its end plays to the end of its file: a day is longer than any file.
constexpr double kToFileEnd = 86400.0;

QString Clock(double seconds) {
    const auto s = static_cast<long long>(seconds + 0.5);
    return QString::asprintf("%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
}

// The head, with what the NCX adds: the entry total.
std::optional<std::pair<daisy3::Package, daisy3::Ncx>>
ReadNavigation(const QString& folder, const QString& packageFile, const BookFileReader& read) {
    const std::optional<QByteArray> opf = read(folder + packageFile);
    std::optional<daisy3::Package> package = opf ? daisy3::ReadPackage(*opf) : std::nullopt;
    if (!package || package->ncx.isEmpty())
        return std::nullopt;
    const std::optional<QByteArray> bytes = read(folder + package->ncx);
    std::optional<daisy3::Ncx> ncx = bytes ? daisy3::ReadNcx(*bytes) : std::nullopt;
    if (!ncx)
        return std::nullopt;
    package->meta.tocItems = QString::number(ncx->points.size());
    if (package->meta.date.isEmpty())
        package->meta.date = QStringLiteral("00-00-0000");
    return std::pair{std::move(*package), std::move(*ncx)};
}

} // namespace

Daisy3Loader::Daisy3Loader(BookModel& model, QString folder, QString packageFile,
                           BookFileReader read)
    : m_model(model), m_folder(std::move(folder)), m_package(std::move(packageFile)),
      m_read(std::move(read)) {}

std::optional<BookMeta> Daisy3Loader::ReadBookHead(const QString& folder,
                                                   const QString& packageFile,
                                                   const BookFileReader& read) {
    const auto navigation = ReadNavigation(folder, packageFile, read);
    return navigation ? std::optional(navigation->first.meta) : std::nullopt;
}

bool Daisy3Loader::LoadBook(IProgress& progress) {
    for (BookTable* table : {&m_model.m_lstPhrases, &m_model.m_lstPages, &m_model.m_lstTitles})
        table->DeleteAllRows();
    m_model.m_treeTitles.DeleteAllItems();
    if (progress.StopRequested() != IProgress::Stop::None)
        return false;
    const auto navigation = ReadNavigation(m_folder, m_package, m_read);
    if (!navigation)
        return false;
    const auto& [package, ncx] = *navigation;
    m_meta = package.meta;

    std::vector<daisy3::SpinePar> pars;
    progress.SetRange(static_cast<int>(package.spine.size()));
    for (qsizetype i = 0; i < package.spine.size(); ++i) {
        progress.SetPosition(static_cast<int>(i + 1));
        if (progress.StopRequested() != IProgress::Stop::None)
            return false;
        const std::optional<QByteArray> bytes = m_read(m_folder + package.spine[i]);
        if (auto read = bytes ? daisy3::ReadSmil(*bytes) : std::nullopt) {
            for (daisy3::Par& par : *read)
                pars.push_back({static_cast<int>(i), std::move(par)});
        }
    }
    AddHeadingsAndPhrases(package, ncx, pars);
    return true;
}

namespace {

// Targets by the spine's file they name, then by id: a SMIL name is compared without regard to
// case, as books are made on systems that ignore it.
std::vector<QHash<QString, int>> ByFile(const std::vector<daisy3::Target>& targets,
                                        const QStringList& spine) {
    QHash<QString, int> files;
    for (qsizetype i = 0; i < spine.size(); ++i)
        files.insert(spine[i].toLower(), static_cast<int>(i));
    std::vector<QHash<QString, int>> byFile(static_cast<std::size_t>(spine.size()));
    for (std::size_t t = 0; t < targets.size(); ++t) {
        const int file = files.value(targets[t].smil.toLower(), -1);
        if (file >= 0) // the last target naming an id wins
            byFile[static_cast<std::size_t>(file)].insert(targets[t].fragment, static_cast<int>(t));
    }
    return byFile;
}

} // namespace

// Each par belongs to the last navPoint whose target it or an earlier par reached.
void Daisy3Loader::AddHeadingsAndPhrases(const daisy3::Package& package, const daisy3::Ncx& ncx,
                                         const std::vector<daisy3::SpinePar>& pars) {
    const QStringList& spine = package.spine;
    const std::vector<QHash<QString, int>> points = ByFile(ncx.points, spine);
    const std::vector<QHash<QString, int>> pages = ByFile(ncx.pages, spine);
    std::vector<int> owner(pars.size());
    int current = -1;
    for (std::size_t p = 0; p < pars.size(); ++p) {
        const QHash<QString, int>& targets = points[static_cast<std::size_t>(pars[p].file)];
        for (const QString& id : pars[p].par.ids)
            current = std::max(current, targets.value(id, -1));
        owner[p] = current;
    }
    // What plays before the first target is a heading of its own.
    const int first = !pars.empty() && owner[0] < 0 ? 1 : 0;
    if (first)
        AddHeading(1, ncx.docTitle.isEmpty() ? m_meta.title : ncx.docTitle, spine.value(0));
    for (const daisy3::Target& point : ncx.points)
        AddHeading(std::min(point.depth, 6), point.label, point.smil);

    const bool text = std::any_of(pars.begin(), pars.end(), [](const daisy3::SpinePar& p) {
        return !p.par.textSrc.isEmpty();
    });
    const QString ncxPath = m_folder + package.ncx;
    std::vector<double> seconds(static_cast<std::size_t>(m_model.m_lstTitles.RowCount()));
    std::vector<int> pageHeading(ncx.pages.size(), -1);
    for (std::size_t p = 0; p < pars.size(); ++p) {
        const int row = owner[p] + first;
        for (const QString& id : pars[p].par.ids) {
            const int page = pages[static_cast<std::size_t>(pars[p].file)].value(id, -1);
            if (page >= 0 && pageHeading[static_cast<std::size_t>(page)] < 0)
                pageHeading[static_cast<std::size_t>(page)] = row;
        }
        const daisy3::Par& par = pars[p].par;
        seconds[static_cast<std::size_t>(row)] +=
            text ? AddPhrases(par, row, par.textSrc.isEmpty() ? QString() : m_folder + par.textSrc,
                              par.fragment)
                 : AddPhrases(par, row, ncxPath,
                              owner[p] < 0 ? QString()
                                           : ncx.points[static_cast<std::size_t>(owner[p])].id);
    }
    double elapsed = 0.0;
    for (int row = 0; row < m_model.m_lstTitles.RowCount(); ++row) {
        m_model.m_lstTitles.SetText(row, col::kTime, Clock(seconds[static_cast<std::size_t>(row)]));
        m_model.m_lstTitles.SetText(row, col::kElapsed, Clock(elapsed));
        elapsed += seconds[static_cast<std::size_t>(row)];
    }
    for (std::size_t i = 0; i < ncx.pages.size(); ++i) {
        const daisy3::Target& page = ncx.pages[i];
        const int row = pageHeading[i];
        m_model.m_lstPages.AppendRow(
            {page.label, page.smil, page.fragment, row < 0 ? QString() : QString::number(row)});
    }
    m_features.pages = !ncx.pages.empty();
}

void Daisy3Loader::AddHeading(int level, const QString& title, const QString& smil) {
    const int row = m_model.m_lstTitles.RowCount();
    m_model.m_lstTitles.AppendRow(
        {QString::number(level), title, smil, QString(), QString(), QString::number(row)});
    m_model.m_treeTitles.AppendHeading(level, title, row);
}

// The par's rows, one for each clip (one without audio when it has none); its seconds of audio.
double Daisy3Loader::AddPhrases(const daisy3::Par& par, int heading, const QString& document,
                                const QString& fragment) {
    static const std::pair<const char16_t*, bool BookFeatures::*> kSkips[] = {
        {u"pagenumber", &BookFeatures::pageNumbers},
        {u"footnote", &BookFeatures::footnotes},
        {u"sidebar", &BookFeatures::sidebars},
        {u"prodnote", &BookFeatures::prodnotes},
    };
    for (const auto& [skip, found] : kSkips) {
        if (par.skip == skip)
            m_features.*found = true;
    }
    if (!document.isEmpty() && !IsNavigationDocument(document))
        m_features.textDocuments = true;
    static const std::vector<daisy3::Clip> kNoAudio{{}};
    double seconds = 0.0;
    for (const daisy3::Clip& clip : par.clips.empty() ? kNoAudio : par.clips) {
        const bool audio = !clip.audio.isEmpty();
        m_features.audio = m_features.audio || audio;
        const double end = clip.end < 0 ? kToFileEnd : clip.end;
        if (clip.end >= 0)
            seconds += std::max(0.0, clip.end - clip.begin);
        m_model.m_lstPhrases.AppendRow(
            {QString::number(heading), par.parId, document, fragment, par.textId, clip.audio,
             audio ? QString::number(clip.begin, 'f', 3) : QString(),
             audio ? QString::number(end, 'f', 3) : QString(), par.skip});
    }
    return seconds;
}

} // namespace tolvaro
