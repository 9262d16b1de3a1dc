#pragma once

#include "platform/IDialogs.h"

class QWidget;

namespace tolvaro {

// Message boxes and dialogs as Qt Widgets windows, owned by the main window.
class QtDialogs : public IDialogs {
public:
    explicit QtDialogs(QWidget& owner) : m_owner(owner) {}

    Result MessageBox(const QString& text, const QString& caption, Icon icon,
                      Buttons buttons) override;
    void ShowAbout() override;
    bool RunLoading(const QString& caption, const QString& frameText,
                    const std::function<bool(IProgress&)>& work) override;
    std::optional<QString> GetBookFile(const QString& title, const QString& startFolder) override;
    std::optional<QString> AskPageNumber(int langOffset) override;
    std::optional<QString> AskColor(const QString& initial) override;
    bool RunWaiting(const QString& text, const std::function<void(IProgress&)>& work) override;
    std::optional<QString> AskSearchTerm(int langOffset) override;
    std::optional<int> ChooseDrive(int langOffset,
                                   const std::vector<std::pair<QString, QString>>& rows) override;
    std::optional<int> ChooseBook(int langOffset, const QStringList& lines,
                                  const std::function<QStringList()>& rebuild) override;

private:
    QWidget* Owner() const;
    QWidget& m_owner;
};

} // namespace tolvaro
