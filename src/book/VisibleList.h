#pragma once

#include <QItemSelectionModel>
#include <QObject>
#include <QStringListModel>

namespace tolvaro {

// A visible list of text lines (the bookmark list and the search-result list). The model and
// its selection are shared with the list view. Only a selection the user makes raises
// SelChange; one the program sets with SetCurSel raises nothing.
class VisibleList : public QObject {
    Q_OBJECT
public:
    explicit VisibleList(QObject* parent = nullptr);

    QStringListModel* Model() { return &m_model; }
    QItemSelectionModel* Selection() { return &m_selection; }

    int Count() const { return m_model.rowCount(); }
    QString Line(int row) const;
    void AddString(const QString& line);
    void DeleteString(int row);
    // Deletes every line.
    void DeleteAll();
    // Deletes all lines and leaves `placeholder` as the only one.
    void ResetTo(const QString& placeholder);

    // The current line, -1 for none; SetCurSel(-1) leaves none current.
    int CurSel() const;
    void SetCurSel(int row);

Q_SIGNALS:
    void SelChange(int row);

private:
    QStringListModel m_model;
    QItemSelectionModel m_selection;
    bool m_settingByProgram = false;
};

} // namespace tolvaro
