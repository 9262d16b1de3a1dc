#include "book/VisibleList.h"

namespace tolvaro {

VisibleList::VisibleList(QObject* parent) : QObject(parent), m_selection(&m_model) {
    connect(&m_selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (!m_settingByProgram && current.isValid())
                    Q_EMIT SelChange(current.row());
            });
}

QString VisibleList::Line(int row) const {
    return m_model.data(m_model.index(row, 0), Qt::DisplayRole).toString();
}

void VisibleList::AddString(const QString& line) {
    const int row = m_model.rowCount();
    m_model.insertRows(row, 1);
    m_model.setData(m_model.index(row, 0), line);
}

void VisibleList::DeleteString(int row) {
    m_settingByProgram = true; // the current line the model moves on its own is no user's choice
    m_model.removeRows(row, 1);
    m_settingByProgram = false;
}

void VisibleList::DeleteAll() {
    m_model.setStringList({});
}

void VisibleList::ResetTo(const QString& placeholder) {
    DeleteAll();
    AddString(placeholder);
}

int VisibleList::CurSel() const {
    const QModelIndex current = m_selection.currentIndex();
    return current.isValid() ? current.row() : -1;
}

void VisibleList::SetCurSel(int row) {
    m_settingByProgram = true;
    if (row < 0)
        m_selection.clear();
    else
        m_selection.setCurrentIndex(m_model.index(row, 0), QItemSelectionModel::ClearAndSelect);
    m_settingByProgram = false;
}

} // namespace tolvaro
