#include "Accessibility.h"

#include <QAccessible>

#include "FontList.h"
#include "FontListAccessible.h"
#include "FrmMain.h"
#include "HotSpotAccessible.h"
#include "HotSpotLabel.h"
#include "MainWindowAccessible.h"

namespace varnex::ui {

namespace {

QAccessibleInterface* WindowPartInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(HotSpotLabel::staticMetaObject.className())) {
        return new HotSpotAccessible(static_cast<HotSpotLabel*>(object));
    }
    if (className == QLatin1String(FontList::staticMetaObject.className())) {
        return new FontListAccessible(static_cast<FontList*>(object));
    }
    if (className == QLatin1String(FrmMain::staticMetaObject.className())) {
        return new MainWindowAccessible(static_cast<FrmMain*>(object));
    }
    return nullptr;
}

}  // namespace

// Qt asks the factories installed last first, and the application object installs the one
// for Qt's own widgets: ours comes after it.
void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(WindowPartInterface);
        return true;
    }();
    (void)installed;
}

}  // namespace varnex::ui
