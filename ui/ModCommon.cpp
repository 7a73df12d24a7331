#include "ModCommon.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

#include "Failure.h"

namespace varnex::ui {

namespace {

QString StoreName() { return SettingsStoreName(QCoreApplication::applicationFilePath()); }

struct Store {
    Store() : settings(QSettings::NativeFormat, QSettings::UserScope, StoreName(), StoreName()) {
        settings.beginGroup(StoreName());
    }
    QSettings settings;
};

QString Describe(QSettings::Status status, const QString& file) {
    const QString what = status == QSettings::FormatError ? "is damaged" : "cannot be used (access denied)";
    return "The settings file \"" + file + "\" " + what + "; the default settings are used.";
}

}  // namespace

// Only the last extension goes: "varnex.2010" keeps its settings apart from "varnex".
QString SettingsStoreName(const QString& executable) {
    return QFileInfo(executable).completeBaseName().toLower();
}

QString ReadSetting(const QString& key, const QString& defaultValue) {
    Store store;
    if (store.settings.status() != QSettings::NoError) return defaultValue;
    return store.settings.value(key.toLower(), defaultValue).toString();
}

void WriteSetting(const QString& key, const QString& value) {
    Store store;
    store.settings.setValue(key.toLower(), value);
    store.settings.sync();
    if (store.settings.status() != QSettings::NoError) {
        throw Failure(kPathAccessError, "The settings file \"" + store.settings.fileName().toStdString() +
                                            "\" cannot be written.");
    }
}

void CheckSettingsStore() {
    Store store;
    if (store.settings.status() != QSettings::NoError) {
        throw Failure(kPathAccessError,
                      Describe(store.settings.status(), store.settings.fileName()).toStdString());
    }
}

}  // namespace varnex::ui
