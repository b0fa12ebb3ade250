#include "texts.h"

#include <QDir>
#include <QFile>

#include "basekit/interaction.h"
#include "dbmanager.h"
#include "localizator.h"
#include "platform.h"

bool IsMissingText(const QString& text) {
    return text.isEmpty() || text == QString(QChar(0));
}

const TMessageCatalogue& TMessageCatalogue::Builtin() {
    static const TMessageCatalogue catalogue = [] {
        TMessageCatalogue c;
        // One file per subsystem, all English.
        const QDir dir(QStringLiteral(":/messages"));
        for (const QString& name :
             dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(name));
            if (f.open(QIODevice::ReadOnly)) c.LoadFromText(QString::fromUtf8(f.readAll()));
        }
        return c;
    }();
    return catalogue;
}

void TMessageCatalogue::LoadFromText(const QString& text) {
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        QString value = line.mid(eq + 1).trimmed();
        value.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        FTexts.insert(line.left(eq).trimmed().toUpper(), value);
    }
}

QString LString(const QString& id, const QString& defaultText) {
    try {
        TApplicationManager& mng = BaseMng();
        if (mng.Databases().IsOpen(QString())) {
            const QString text =
                GetLocalizatorTable(QString()).GetString(id, mng.CurrentLanguage());
            if (!IsMissingText(text)) return text;
        }
    } catch (const EPelvarError&) {
        // A database that cannot answer leaves the built-in texts.
    }
    const TMessageCatalogue& c = TMessageCatalogue::Builtin();
    if (c.Contains(id)) return c.Text(id);
    return defaultText;
}

QString DesignedCaption(const QString& designed) {
    if (BaseMng().CurrentLanguage() == QLatin1String("RUSSIAN")) return designed;
    const TMessageCatalogue& c = TMessageCatalogue::Builtin();
    return c.Contains(designed) ? c.Text(designed) : designed;
}

QString AboutProgramText() {
    return LString(QStringLiteral("M_Pelvar_Pelvar_ApplicationTitle")) +
           QStringLiteral("\nVersion ") + QStringLiteral(PELVAR_VERSION) + QStringLiteral("\nQt ") +
           QLatin1String(qVersion());
}

void ShowAboutProgram() {
    Interaction().MessageBox(AboutProgramText(), QString(), MB::OK | MB::ICONINFORMATION);
}

// A message without a text anywhere shows its ID: a blank question cannot be
// answered, and the ID tells which text is missing.
int LMessageBox(const QString& id, const QString& titleId, int flags) {
    return Interaction().MessageBox(LString(id, id),
                                    titleId.isEmpty() ? QString() : LString(titleId), flags);
}

void LShowMessage(const QString& id) {
    Interaction().MessageBox(LString(id, id), QString(), MB::OK);
}
