#include "stacktrace.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>

#include <QFile>
#include <QMutex>
#include <QTextStream>
#include <atomic>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

std::atomic<bool> gEnabled{false};
std::atomic<bool> gUseMap{false};
QMutex gMapLock;
std::map<quintptr, QString> gSymbols;  // offset in the executable -> symbol
quintptr gExeBase = 0;

void LoadMap(const QString& fileName) {
    QMutexLocker lock(&gMapLock);
    gSymbols.clear();
    QFile f(fileName);
    if (fileName.isEmpty() || !f.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const int s1 = line.indexOf(' ');
        if (s1 <= 0) continue;
        const int s2 = line.indexOf(' ', s1 + 1);
        if (s2 < 0) continue;
        bool ok = false;
        const quintptr addr = line.left(s1).toULongLong(&ok, 16);
        if (ok) gSymbols[addr] = line.mid(s2 + 1).trimmed();
    }
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LoadMap), &info) != 0)
        gExeBase = reinterpret_cast<quintptr>(info.dli_fbase);
}

QString Demangle(const char* name) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> d(abi::__cxa_demangle(name, nullptr, nullptr, &status),
                                             std::free);
    return status == 0 && d ? QString::fromLatin1(d.get()) : QString::fromLatin1(name);
}

QString FrameText(void* address) {
    const auto addr = reinterpret_cast<quintptr>(address);
    Dl_info info{};
    const bool found = dladdr(address, &info) != 0;
    if (gUseMap && found && reinterpret_cast<quintptr>(info.dli_fbase) == gExeBase) {
        QMutexLocker lock(&gMapLock);
        auto it = gSymbols.upper_bound(addr - gExeBase);
        if (it != gSymbols.begin()) {
            --it;
            return QStringLiteral("%1 %2").arg(addr, 0, 16).arg(it->second);
        }
    }
    if (found && info.dli_sname)
        return QStringLiteral("%1 %2").arg(addr, 0, 16).arg(Demangle(info.dli_sname));
    if (found && info.dli_fname)
        return QStringLiteral("%1 (%2)")
            .arg(addr, 0, 16)
            .arg(QString::fromLocal8Bit(info.dli_fname));
    return QString::number(addr, 16);
}

}  // namespace

void SetStackTraceSupport(bool enabled, bool useMapFile, const QString& mapFileName) {
    gEnabled = enabled;
    gUseMap = enabled && useMapFile && QFile::exists(mapFileName);
    if (gUseMap) LoadMap(mapFileName);
}

bool StackTraceEnabled() {
    return gEnabled;
}
bool StackTraceUsesMap() {
    return gUseMap;
}

QStringList CaptureStack(int skipFrames) {
    void* frames[64];
    const int n = backtrace(frames, 64);
    QStringList result;
    for (int i = skipFrames + 1; i < n; ++i)
        result << FrameText(frames[i]);
    return result;
}

QStringList CaptureStackIfEnabled(int skipFrames) {
    return gEnabled ? CaptureStack(skipFrames + 1) : QStringList();
}
