#include <QCommandLineParser>
#include <QCoreApplication>
#include <clocale>
#include <cstdio>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "demodictionary.h"

// pelvar-demo --alias DEMO [--size N] [--variant 2] [--user U --password P]
// Fills the (empty) database of an ODBC data source with the demo dictionary.
int main(int argc, char** argv) {
    if (!std::setlocale(LC_ALL, "")) std::setlocale(LC_ALL, "C.UTF-8");
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Creates a Pelvar demo dictionary in an empty database."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("alias"), QStringLiteral("ODBC data source to fill."),
                      QStringLiteral("alias")});
    parser.addOption({QStringLiteral("size"), QStringLiteral("Scale of the dictionary (1 and up)."),
                      QStringLiteral("n"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("variant"), QStringLiteral("1: main demo, 2: second demo."),
                      QStringLiteral("n"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("user"), QStringLiteral("User name for the data source."),
                      QStringLiteral("user")});
    parser.addOption({QStringLiteral("password"), QStringLiteral("Password for the data source."),
                      QStringLiteral("password")});
    parser.process(app);
    const QString alias = parser.value(QStringLiteral("alias")).toUpper();
    bool sizeOk = false, variantOk = false;
    const int size = parser.value(QStringLiteral("size")).toInt(&sizeOk);
    const int variant = parser.value(QStringLiteral("variant")).toInt(&variantOk);
    if (alias.isEmpty() || !sizeOk || size < 1 || !variantOk || (variant != 1 && variant != 2)) {
        std::fprintf(
            stderr, "pelvar-demo: give --alias, a --size of 1 or more and a --variant of 1 or 2\n");
        return 2;
    }
    TPlatform platform;
    try {
        TDatabaseManager& dbs = BaseMng().Databases();
        dbs.SetLoginParamsEx(parser.value(QStringLiteral("user")),
                             parser.value(QStringLiteral("password")), 255, QString(), false,
                             QString(), alias);
        dbs.OpenDataBase(alias);
        dbs.SetDefaultAlias(alias);
        const TDemoSummary s = GenerateDemoDictionary(
            {alias, size, variant},
            [](const QString& text) { std::printf("  %s\n", qPrintable(text)); });
        std::printf("%s: %d structures, %d tables with %d rows, %d texts\n", qPrintable(alias),
                    s.Structures, s.Tables, s.Rows, s.Texts);
    } catch (const EPelvarError& e) {
        std::fprintf(stderr, "pelvar-demo: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
