#include "registry.h"

namespace {

void SplitParam(const QString& path, QString& key, QString& value) {
    const int pos = path.lastIndexOf(QLatin1Char('\\'));
    key = RegistryBaseKey() + QLatin1Char('\\') + (pos > 0 ? path.left(pos) : QString());
    value = path.mid(pos + 1);
}

template <typename T, typename Reader>
T LoadParam(const QString& path, const T& def, Reader read) {
    QString key, value;
    SplitParam(path, key, value);
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(value)) return def;
    try {
        return read(reg, value);
    } catch (const ERegistryError&) {
        throw ERegistryError(
            QStringLiteral("Invalid data type for registry parameter '%1'").arg(path));
    }
}

template <typename Writer>
void SaveParam(const QString& path, Writer write) {
    QString key, value;
    SplitParam(path, key, value);
    TRegistry reg;
    if (!reg.OpenKey(key, true))
        throw ERegistryError(QStringLiteral("Can not create registry key '%1'").arg(key));
    write(reg, value);
}

}  // namespace

QString LoadRegistryParam(const QString& path, const QString& def) {
    return LoadParam<QString>(path, def,
                              [](TRegistry& r, const QString& v) { return r.ReadString(v); });
}
QString LoadRegistryParam(const QString& path, const char* def) {
    return LoadRegistryParam(path, QString::fromUtf8(def));
}
int LoadRegistryParam(const QString& path, int def) {
    return LoadParam<int>(path, def,
                          [](TRegistry& r, const QString& v) { return r.ReadInteger(v); });
}
bool LoadRegistryParam(const QString& path, bool def) {
    return LoadParam<bool>(path, def, [](TRegistry& r, const QString& v) { return r.ReadBool(v); });
}
QByteArray LoadRegistryParam(const QString& path, const QByteArray& def) {
    return LoadParam<QByteArray>(
        path, def, [](TRegistry& r, const QString& v) { return r.ReadBinaryData(v); });
}
void SaveRegistryParam(const QString& path, const QString& value) {
    SaveParam(path, [&](TRegistry& r, const QString& v) { r.WriteString(v, value); });
}
void SaveRegistryParam(const QString& path, const char* value) {
    SaveRegistryParam(path, QString::fromUtf8(value));
}
void SaveRegistryParam(const QString& path, int value) {
    SaveParam(path, [&](TRegistry& r, const QString& v) { r.WriteInteger(v, value); });
}
void SaveRegistryParam(const QString& path, bool value) {
    SaveParam(path, [&](TRegistry& r, const QString& v) { r.WriteBool(v, value); });
}
void SaveRegistryParam(const QString& path, const QByteArray& value) {
    SaveParam(path, [&](TRegistry& r, const QString& v) { r.WriteBinaryData(v, value); });
}
