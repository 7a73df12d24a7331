#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace varnex::ui {

// The window's open-file dialog.
class CommonDialog {
public:
    virtual ~CommonDialog() = default;
    // The chosen file's full path; nullopt when the user cancels. The first filter is in
    // force when the dialog opens.
    virtual std::optional<QString> ShowOpen(const QString& title, const QStringList& filters) = 0;
};

}  // namespace varnex::ui
