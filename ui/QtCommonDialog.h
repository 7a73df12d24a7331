#pragma once

#include <QPointer>
#include <QWidget>

#include "CommonDialog.h"

namespace varnex::ui {

class QtCommonDialog : public CommonDialog {
public:
    explicit QtCommonDialog(QWidget* owner) : owner_(owner) {}
    std::optional<QString> ShowOpen(const QString& title, const QStringList& filters) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace varnex::ui
