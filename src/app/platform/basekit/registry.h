#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "errors.h"

// The program's settings, organised like the Windows registry: a tree of keys,
// each holding typed values. Stored through QSettings in an ini file (the file
// named by PELVAR_SETTINGS, or the user's Pelvar.ini). Key and value names are
// matched without regard to case, as the registry does.

enum class TRegDataType { rdUnknown, rdString, rdInteger, rdBinary };

// Points the whole store at another file (tests, portable use). An empty name
// goes back to the default location.
void SetSettingsFileName(const QString& fileName);
QString SettingsFileName();
// Writes pending changes to disk (so does closing a writable key). A file that
// cannot be written (read-only, another user's, a folder in its place) is
// reported once per file and run through the interaction seam; the values stay
// readable until the program ends.
void FlushSettings();

class TRegistry {
  public:
    TRegistry();
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Keys beginning with "\" are absolute, others are below the current key.
    bool OpenKey(const QString& key, bool canCreate);
    bool OpenKeyReadOnly(const QString& key);
    void CloseKey();
    bool CreateKey(const QString& key);
    bool DeleteKey(const QString& key);
    bool KeyExists(const QString& key) const;

    QString CurrentPath() const { return FCurrentPath; }
    bool ReadOnly() const { return FReadOnly; }
    bool HasSubKeys() const;
    QStringList GetKeyNames() const;
    QStringList GetValueNames() const;

    bool ValueExists(const QString& name) const;
    bool DeleteValue(const QString& name);
    TRegDataType GetDataType(const QString& name) const;
    // Byte length of a value (UTF-16 bytes plus terminator for strings, as the
    // registry counts them), -1 when it does not exist.
    int GetDataSize(const QString& name) const;

    // Reading a missing value or a value of another type raises ERegistryError.
    QString ReadString(const QString& name) const;
    int ReadInteger(const QString& name) const;
    bool ReadBool(const QString& name) const;
    QByteArray ReadBinaryData(const QString& name) const;

    void WriteString(const QString& name, const QString& value);
    void WriteInteger(const QString& name, int value);
    void WriteBool(const QString& name, bool value);
    void WriteBinaryData(const QString& name, const QByteArray& value);

  private:
    QString Resolve(const QString& key) const;
    void CheckOpen(const char* what) const;
    void CheckWritable(const QString& name) const;
    QString FCurrentPath;  // canonical "\A\B", empty when no key is open
    bool FOpen = false;
    bool FReadOnly = false;
};

// The key of the platform's configuration under which every program keeps its
// settings (the program adds "\PELVAR").
void SetRegistryBaseKey(const QString& key);
QString RegistryBaseKey();

// Parameters addressed by a path below the base key whose last component names
// the value, e.g. "\PELVAR\Confirmations\ExportFileName". A missing value gives
// the default; a value of another type raises ERegistryError.
QString LoadRegistryParam(const QString& path, const QString& defaultValue);
QString LoadRegistryParam(const QString& path, const char* defaultValue);
int LoadRegistryParam(const QString& path, int defaultValue);
bool LoadRegistryParam(const QString& path, bool defaultValue);
QByteArray LoadRegistryParam(const QString& path, const QByteArray& defaultValue);
void SaveRegistryParam(const QString& path, const QString& value);
void SaveRegistryParam(const QString& path, const char* value);
void SaveRegistryParam(const QString& path, int value);
void SaveRegistryParam(const QString& path, bool value);
void SaveRegistryParam(const QString& path, const QByteArray& value);
