#pragma once

#include <QString>

// Settings of the platform installation.
class TConfiguration {
  public:
    // The base key of every program's settings.
    QString GetRegistryKey() const;
    QString LogTableName() const { return FLogTableName; }
    void SetLogTableName(const QString& name) { FLogTableName = name; }
    // The older (release 17) layout of the dictionary: no USER_LEGACY table.
    bool WorkAs17Version() const { return FWorkAs17Version; }
    void SetWorkAs17Version(bool on) { FWorkAs17Version = on; }
    QString DefaultFontName() const { return QStringLiteral("Arial"); }
    int DefaultFontSize() const { return 10; }

  private:
    QString FLogTableName = QStringLiteral("QX_LOG");
    bool FWorkAs17Version = false;
};

// The configuration of the running platform.
TConfiguration& Configuration();
