#pragma once

#include <QChar>
#include <QString>

// Keys of the localiser's text cache, shared by its read and write sides.
namespace LocalizatorKeys {

// Cached for a text that does not exist.
inline const QString kNotFound = QString(QChar(0));

inline QString TextKey(const QString& language, const QString& id) {
    return language + QChar(0x1f) + id;
}

}  // namespace LocalizatorKeys
