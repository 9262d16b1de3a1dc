#include "formats/TableDump.h"

#include "book/BookModel.h"
#include "formats/BookLoader.h"
#include "platform/IProgress.h"

namespace tolvaro {
namespace {

std::string Escaped(const QString& cell) {
    std::string out;
    for (char c : cell.toStdString()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

void Rows(const BookTable& table, std::string& out, const QString& folder = {}) {
    for (int row = 0; row < table.RowCount(); ++row) {
        for (int c = 0; c < table.ColumnCount(); ++c) {
            QString cell = table.Text(row, c);
            if (!folder.isEmpty() && c == col::kDocument && cell.startsWith(folder))
                cell = cell.mid(folder.size());
            out += (c ? "\t" : "") + Escaped(cell);
        }
        out += '\n';
    }
}

void Pair(std::string& out, const char* name, const std::string& value) {
    out += name;
    out += '\t';
    out += value;
    out += '\n';
}

} // namespace

int DumpTables(const QString& folder, std::string& out, std::string& error) {
    const QString book = folder.endsWith(u'/') ? folder : folder + u'/';
    BookModel model;
    IProgress progress;
    const std::optional<LoadedBook> loaded = LoadBook(model, book, 0, progress);
    if (!loaded) {
        error = "Cannot read the book in " + book.toStdString() + ".\n";
        return 1;
    }
    const BookMeta& m = loaded->meta;
    out += "[meta]\n";
    for (const auto& [name, value] : {std::pair{"date", &m.date},
                                      {"identifier", &m.identifier},
                                      {"title", &m.title},
                                      {"tocitems", &m.tocItems},
                                      {"totaltime", &m.totalTime},
                                      {"setinfo", &m.setInfo}})
        Pair(out, name, Escaped(*value));
    const BookFeatures& f = loaded->features;
    out += "[features]\n";
    for (const auto& [name, on] : {std::pair{"audio", f.audio},
                                   {"groups", f.groups},
                                   {"pages", f.pages},
                                   {"footnotes", f.footnotes},
                                   {"sidebars", f.sidebars},
                                   {"prodnotes", f.prodnotes},
                                   {"pagenumbers", f.pageNumbers},
                                   {"textdocs", f.textDocuments}})
        Pair(out, name, on ? "1" : "0");
    out += "[headings]\n";
    Rows(model.m_lstTitles, out);
    out += "[tree]\n";
    const HeadingTree& tree = model.m_treeTitles;
    for (QModelIndex at = tree.FirstRoot(); at.isValid(); at = tree.Next(at)) {
        int depth = 0;
        for (QModelIndex up = at.parent(); up.isValid(); up = up.parent())
            ++depth;
        out += std::to_string(depth) + '\t' + std::to_string(HeadingTree::ItemData(at)) + '\n';
    }
    out += "[phrases]\n";
    Rows(model.m_lstPhrases, out, book);
    out += "[pages]\n";
    Rows(model.m_lstPages, out);
    out += "[groups]\n";
    Rows(model.m_lstGroups, out);
    return 0;
}

} // namespace tolvaro
