#pragma once

#include <QMutex>
#include <QSet>
#include <QSettings>
#include <QString>
#include <memory>

// The one settings store behind TRegistry and the registry parameters; used by
// the settings layer only.
struct TSettingsStore {
    QMutex Lock;
    std::unique_ptr<QSettings> Settings;
    QString FileName;
    bool Dirty = false;
    QString BaseKey = QStringLiteral("\\Software\\Pelvar");
    QSet<QString> WarnedFiles;  // files the user was told cannot be written
};

TSettingsStore& SettingsStore();
// The store's QSettings, opened on first use; call with the lock held.
QSettings& StoreSettings(TSettingsStore& s);

// Writes the pending changes of the store; call with the lock held. Returns the
// file to warn about when it could not be written and the user was not told
// yet; pass that to WarnSettingsNotSaved once the lock is released (the
// warning may run an event loop that reads settings again).
QString SyncSettingsStore(TSettingsStore& s);
void WarnSettingsNotSaved(const QString& fileName);
