#include "QtCommonDialog.h"

#include <QFileDialog>

namespace varnex::ui {

std::optional<QString> QtCommonDialog::ShowOpen(const QString& title, const QStringList& filters) {
    QFileDialog dialog(owner_, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(0));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

}  // namespace varnex::ui
