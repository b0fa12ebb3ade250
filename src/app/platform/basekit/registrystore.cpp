#include "registrystore.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QThread>

#include "basetexts.h"
#include "interaction.h"
#include "registry.h"
#include "strutils.h"

namespace {

QString DefaultFileName() {
    const QByteArray env = qgetenv("PELVAR_SETTINGS");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + QStringLiteral("/.config");
    return dir + QStringLiteral("/Pelvar/Pelvar.ini");
}

void ShowNotSavedWarning(const QString& fileName) {
    const QString text = BaseText(
        QStringLiteral("M_Pelvar_Registry_SettingsNotSaved"),
        QStringLiteral("The settings cannot be saved to %s. Changes to them made in this session "
                       "will be lost when Pelvar closes."));
    Interaction().MessageBox(SafeFormat(text, QDir::toNativeSeparators(fileName)),
                             BaseText(QStringLiteral("ST_WARNING"), QStringLiteral("Warning")),
                             MB::OK | MB::ICONWARNING);
}

}  // namespace

TSettingsStore& SettingsStore() {
    static TSettingsStore store;
    return store;
}

QSettings& StoreSettings(TSettingsStore& s) {
    if (!s.Settings) {
        if (s.FileName.isEmpty()) s.FileName = DefaultFileName();
        s.Settings = std::make_unique<QSettings>(s.FileName, QSettings::IniFormat);
    }
    return *s.Settings;
}

QString SyncSettingsStore(TSettingsStore& s) {
    if (!s.Settings) return QString();
    s.Settings->sync();
    s.Dirty = false;
    // QSettings keeps the values it could not write and answers with them for
    // the rest of the run; only the user can make the file writable again.
    if (s.Settings->status() != QSettings::AccessError || s.WarnedFiles.contains(s.FileName))
        return QString();
    s.WarnedFiles.insert(s.FileName);
    return s.FileName;
}

void WarnSettingsNotSaved(const QString& fileName) {
    if (fileName.isEmpty()) return;
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        // Only the main thread talks to the user.
        QMetaObject::invokeMethod(
            app, [fileName] { ShowNotSavedWarning(fileName); }, Qt::QueuedConnection);
        return;
    }
    ShowNotSavedWarning(fileName);
}

void SetSettingsFileName(const QString& fileName) {
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    const QString failed = SyncSettingsStore(s);
    s.Settings.reset();
    s.FileName = fileName;
    s.Dirty = false;
    lock.unlock();
    WarnSettingsNotSaved(failed);
}

QString SettingsFileName() {
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    return s.FileName.isEmpty() ? DefaultFileName() : s.FileName;
}

void FlushSettings() {
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    if (!s.Dirty) return;
    const QString failed = SyncSettingsStore(s);
    lock.unlock();
    WarnSettingsNotSaved(failed);
}

void SetRegistryBaseKey(const QString& key) {
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    s.BaseKey = key;
}

QString RegistryBaseKey() {
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    return s.BaseKey;
}
