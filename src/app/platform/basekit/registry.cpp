#include "registry.h"

#include "registrystore.h"

namespace {

// Every created key carries this marker value, so that empty keys exist.
const QString kKeyMarker = QStringLiteral("@key");

// QSettings reads "/" as a group separator, and "@key" is our marker: names
// carry those characters (and "%", the escape itself) as %XX.
QString EscapeComponent(const QString& c) {
    QString out;
    out.reserve(c.size());
    for (const QChar ch : c) {
        if (ch == QLatin1Char('%') || ch == QLatin1Char('/') || ch == QLatin1Char('@'))
            out += QStringLiteral("%%1").arg(ch.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += ch;
    }
    return out;
}

QString UnescapeComponent(const QString& c) {
    QString out;
    out.reserve(c.size());
    for (int i = 0; i < c.size(); ++i) {
        const QString code = c.mid(i + 1, 2).toUpper();
        if (c[i] == QLatin1Char('%') &&
            (code == QLatin1String("25") || code == QLatin1String("2F") ||
             code == QLatin1String("40"))) {
            out += QChar(code.toInt(nullptr, 16));
            i += 2;
        } else {
            out += c[i];
        }
    }
    return out;
}

QStringList Components(const QString& path) {
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

QString GroupOf(const QStringList& parts) {
    QStringList esc;
    for (const QString& p : parts)
        esc << EscapeComponent(p);
    return esc.join(QLatin1Char('/'));
}

// Finds the stored spelling of each component (case-insensitive). Returns false
// when some component does not exist; `found` then holds the existing prefix.
bool Canonical(QSettings& st, const QStringList& parts, QStringList& found) {
    found.clear();
    for (const QString& part : parts) {
        st.beginGroup(GroupOf(found));
        const QStringList groups = st.childGroups();
        st.endGroup();
        bool hit = false;
        for (const QString& g : groups) {
            const QString name = UnescapeComponent(g);
            if (name.compare(part, Qt::CaseInsensitive) == 0) {
                found << name;
                hit = true;
                break;
            }
        }
        if (!hit) return false;
    }
    return true;
}

// The stored (escaped) key of a value, empty when the value does not exist.
QString StoredValueName(QSettings& st, const QString& group, const QString& name) {
    st.beginGroup(group);
    const QStringList keys = st.childKeys();
    st.endGroup();
    for (const QString& k : keys)
        if (k != kKeyMarker && UnescapeComponent(k).compare(name, Qt::CaseInsensitive) == 0)
            return k;
    return QString();
}

QString TypeName(TRegDataType type) {
    switch (type) {
        case TRegDataType::rdString:
            return QStringLiteral("a string");
        case TRegDataType::rdInteger:
            return QStringLiteral("an integer");
        case TRegDataType::rdBinary:
            return QStringLiteral("binary data");
        default:
            return QStringLiteral("of unknown type");
    }
}

QString JoinPath(const QStringList& parts) {
    return parts.isEmpty() ? QString() : QStringLiteral("\\") + parts.join(QLatin1Char('\\'));
}

struct TRawValue {
    TRegDataType Type = TRegDataType::rdUnknown;
    QString Text;  // without the type prefix
};

TRawValue Decode(const QString& stored) {
    TRawValue v;
    if (stored.startsWith(QStringLiteral("s:"))) {
        v.Type = TRegDataType::rdString;
    } else if (stored.startsWith(QStringLiteral("i:"))) {
        v.Type = TRegDataType::rdInteger;
    } else if (stored.startsWith(QStringLiteral("b:"))) {
        v.Type = TRegDataType::rdBinary;
    } else {
        // A value typed in by hand without a type tag reads as a string.
        v.Type = TRegDataType::rdString;
        v.Text = stored;
        return v;
    }
    v.Text = stored.mid(2);
    return v;
}

}  // namespace

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() {
    CloseKey();
}

QString TRegistry::Resolve(const QString& key) const {
    if (key.startsWith(QLatin1Char('\\')) || !FOpen) return JoinPath(Components(key));
    return JoinPath(Components(FCurrentPath) + Components(key));
}

bool TRegistry::OpenKey(const QString& key, bool canCreate) {
    const QStringList parts = Components(Resolve(key));
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    QSettings& st = StoreSettings(s);
    QStringList found;
    if (!Canonical(st, parts, found)) {
        if (!canCreate) return false;
        // Create the missing tail, marking each new key so that it exists empty.
        for (int i = found.size(); i < parts.size(); ++i) {
            found << parts[i];
            st.setValue(GroupOf(found) + QLatin1Char('/') + kKeyMarker, QStringLiteral("1"));
        }
        s.Dirty = true;
    }
    lock.unlock();
    CloseKey();
    FCurrentPath = JoinPath(found);
    FOpen = true;
    FReadOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& key) {
    if (!OpenKey(key, false)) return false;
    FReadOnly = true;
    return true;
}

void TRegistry::CloseKey() {
    if (FOpen && !FReadOnly) FlushSettings();
    FOpen = false;
    FReadOnly = false;
    FCurrentPath.clear();
}

bool TRegistry::CreateKey(const QString& key) {
    const QString path = Resolve(key);
    const QString saved = FCurrentPath;
    const bool wasOpen = FOpen, wasRO = FReadOnly;
    TRegistry tmp;
    const bool ok = tmp.OpenKey(path, true);
    FCurrentPath = saved;
    FOpen = wasOpen;
    FReadOnly = wasRO;
    return ok;
}

bool TRegistry::DeleteKey(const QString& key) {
    if (FReadOnly) return false;  // deleting is a write
    const QStringList parts = Components(Resolve(key));
    if (parts.isEmpty()) return false;
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    QSettings& st = StoreSettings(s);
    QStringList found;
    if (!Canonical(st, parts, found)) return false;
    st.remove(GroupOf(found));
    s.Dirty = true;
    const QString failed = SyncSettingsStore(s);
    lock.unlock();
    WarnSettingsNotSaved(failed);
    return true;
}

bool TRegistry::KeyExists(const QString& key) const {
    const QStringList parts = Components(Resolve(key));
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    QStringList found;
    return Canonical(StoreSettings(s), parts, found);
}

void TRegistry::CheckOpen(const char* what) const {
    if (!FOpen)
        throw ERegistryError(
            QStringLiteral("No registry key is open (%1)").arg(QLatin1String(what)));
}

void TRegistry::CheckWritable(const QString& name) const {
    CheckOpen("write");
    if (FReadOnly)
        throw ERegistryError(
            QStringLiteral("Failed to set data for '%1': key '%2' is open read-only")
                .arg(name, FCurrentPath));
}

bool TRegistry::HasSubKeys() const {
    return !GetKeyNames().isEmpty();
}

QStringList TRegistry::GetKeyNames() const {
    CheckOpen("key names");
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    QSettings& st = StoreSettings(s);
    st.beginGroup(GroupOf(Components(FCurrentPath)));
    QStringList groups = st.childGroups();
    st.endGroup();
    for (QString& g : groups)
        g = UnescapeComponent(g);
    return groups;
}

QStringList TRegistry::GetValueNames() const {
    CheckOpen("value names");
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    QSettings& st = StoreSettings(s);
    st.beginGroup(GroupOf(Components(FCurrentPath)));
    QStringList keys = st.childKeys();
    st.endGroup();
    keys.removeAll(kKeyMarker);
    for (QString& k : keys)
        k = UnescapeComponent(k);
    return keys;
}

namespace {

bool ReadRaw(const QString& keyPath, const QString& name, TRawValue& out) {
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    QSettings& st = StoreSettings(s);
    const QString group = GroupOf(Components(keyPath));
    const QString stored = StoredValueName(st, group, name);
    if (stored.isEmpty()) return false;
    out = Decode(st.value(group + QLatin1Char('/') + stored).toString());
    return true;
}

void WriteRaw(const QString& keyPath, const QString& name, const QString& encoded) {
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    QSettings& st = StoreSettings(s);
    const QString group = GroupOf(Components(keyPath));
    QString stored = StoredValueName(st, group, name);
    if (stored.isEmpty()) stored = EscapeComponent(name);
    st.setValue(group + QLatin1Char('/') + stored, encoded);
    s.Dirty = true;
}

}  // namespace

bool TRegistry::ValueExists(const QString& name) const {
    if (!FOpen) return false;
    TRawValue v;
    return ReadRaw(FCurrentPath, name, v);
}

bool TRegistry::DeleteValue(const QString& name) {
    CheckWritable(name);
    TSettingsStore& s = SettingsStore();
    QMutexLocker lock(&s.Lock);
    QSettings& st = StoreSettings(s);
    const QString group = GroupOf(Components(FCurrentPath));
    const QString stored = StoredValueName(st, group, name);
    if (stored.isEmpty()) return false;
    st.remove(group + QLatin1Char('/') + stored);
    s.Dirty = true;
    return true;
}

TRegDataType TRegistry::GetDataType(const QString& name) const {
    TRawValue v;
    if (!FOpen || !ReadRaw(FCurrentPath, name, v)) return TRegDataType::rdUnknown;
    return v.Type;
}

int TRegistry::GetDataSize(const QString& name) const {
    TRawValue v;
    if (!FOpen || !ReadRaw(FCurrentPath, name, v)) return -1;
    switch (v.Type) {
        case TRegDataType::rdInteger:
            return 4;
        case TRegDataType::rdBinary:
            return QByteArray::fromBase64(v.Text.toLatin1()).size();
        default:
            return int((v.Text.size() + 1) * 2);
    }
}

namespace {

TRawValue ReadTyped(const QString& keyPath, const QString& name, TRegDataType type, bool open) {
    TRawValue v;
    if (!open || !ReadRaw(keyPath, name, v))
        throw ERegistryError(
            QStringLiteral("Registry value '%1' does not exist in key '%2'").arg(name, keyPath));
    if (v.Type != type)
        throw ERegistryError(
            QStringLiteral("Invalid data type for '%1' in key '%2': it is %3, not %4")
                .arg(name, keyPath, TypeName(v.Type), TypeName(type)));
    return v;
}

}  // namespace

QString TRegistry::ReadString(const QString& name) const {
    return ReadTyped(FCurrentPath, name, TRegDataType::rdString, FOpen).Text;
}

int TRegistry::ReadInteger(const QString& name) const {
    const TRawValue v = ReadTyped(FCurrentPath, name, TRegDataType::rdInteger, FOpen);
    bool ok = false;
    const int result = v.Text.toInt(&ok);
    if (!ok)
        throw ERegistryError(
            QStringLiteral("Invalid data type for '%1' in key '%2': '%3' is not an integer")
                .arg(name, FCurrentPath, v.Text));
    return result;
}

bool TRegistry::ReadBool(const QString& name) const {
    return ReadInteger(name) != 0;
}

QByteArray TRegistry::ReadBinaryData(const QString& name) const {
    return QByteArray::fromBase64(
        ReadTyped(FCurrentPath, name, TRegDataType::rdBinary, FOpen).Text.toLatin1());
}

void TRegistry::WriteString(const QString& name, const QString& value) {
    CheckWritable(name);
    WriteRaw(FCurrentPath, name, QStringLiteral("s:") + value);
}

void TRegistry::WriteInteger(const QString& name, int value) {
    CheckWritable(name);
    WriteRaw(FCurrentPath, name, QStringLiteral("i:") + QString::number(value));
}

void TRegistry::WriteBool(const QString& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteBinaryData(const QString& name, const QByteArray& value) {
    CheckWritable(name);
    WriteRaw(FCurrentPath, name, QStringLiteral("b:") + QString::fromLatin1(value.toBase64()));
}
