#include "shell/BookListDlg.h"

#include "res/StringTable.h"
#include "shell/AccessibleNames.h"
#include "shell/Graced.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tolvaro {
namespace {

// "OK" and "Abbrechen" in either language, as the window has always had them.
QDialogButtonBox* Buttons(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(LoadString(kStrCancelButton), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

} // namespace

std::optional<int> RunDriveSelection(QWidget& owner, int langOffset,
                                     const std::vector<std::pair<QString, QString>>& rows) {
    Graced<QDialog> held(&owner);
    QDialog& dialog = *held;
    dialog.setObjectName(QStringLiteral("CA_Laufwerke"));
    dialog.setWindowTitle(LoadString(kStrChooseDrive + langOffset));
    auto* list = new QTreeWidget(&dialog);
    list->setRootIsDecorated(false);
    list->setHeaderLabels(
        {LoadString(kStrDrive + langOffset), LoadString(kStrDriveName + langOffset)});
    list->setAccessibleName(LoadString(kStrChooseDrive + langOffset));
    AnnounceCurrentItemOnFocus(*list);
    for (const auto& [root, label] : rows)
        list->addTopLevelItem(new QTreeWidgetItem({root, label}));
    list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    if (list->topLevelItemCount() > 0)
        list->setCurrentItem(list->topLevelItem(0));
    auto* buttons = Buttons(dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (list->currentItem())
            dialog.accept();
    });
    // Enter reaches the default button; a double-click chooses as well.
    QObject::connect(list, &QTreeWidget::itemDoubleClicked, &dialog, [&] { dialog.accept(); });
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(480, 320);
    list->setFocus();
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return std::nullopt;
    return list->indexOfTopLevelItem(list->currentItem());
}

std::optional<int> RunBookList(QWidget& owner, int langOffset, const QStringList& lines,
                               const std::function<QStringList()>& rebuild) {
    Graced<QDialog> held(&owner);
    QDialog& dialog = *held;
    dialog.setObjectName(QStringLiteral("CA_DaisySuche"));
    dialog.setWindowTitle(LoadString(kStrSearchDaisy + langOffset));
    auto* list = new QListWidget(&dialog);
    list->setAccessibleName(LoadString(kStrSearchDaisy + langOffset));
    AnnounceCurrentItemOnFocus(*list);
    const auto show = [list](const QStringList& shown) {
        list->clear();
        list->addItems(shown);
        list->setCurrentRow(shown.size() > 1 ? 1 : 0);
    };
    show(lines);
    const auto choose = [&] {
        if (list->currentRow() == 0) {
            show(rebuild()); // a new list; the window stays open
            list->setFocus();
        } else if (list->currentRow() > 0) {
            dialog.accept();
        }
    };
    auto* buttons = Buttons(dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, choose);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, choose);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(560, 400);
    list->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return list->currentRow();
}

} // namespace tolvaro
