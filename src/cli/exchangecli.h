#pragma once

#include <QStringList>
#include <QTextStream>

// pelvar-exchange: the whole-dictionary export, import and copy for build
// pipelines, on the same operations as the explorer.
//
//   export ALIAS FILE [--what PARTS]    import FILE ALIAS [--what PARTS]
//   copy FROM_ALIAS TO_ALIAS [--what PARTS]    list FILE
//
// PARTS: structures,resources,languages,data (all by default). The login
// comes from --user / PELVAR_USER and --password-file / PELVAR_PASSWORD,
// never from the command line itself; copy's target may log in otherwise
// (--to-user, --to-password-file / PELVAR_TO_PASSWORD). Progress goes to `err`, listings to
// `out`. Returns 0 on success, 1 when the work failed (one line on `err`
// says why), 2 for a command line it does not understand. The platform
// (TPlatform) must exist; aliases it opens are closed again.
int RunExchangeCli(const QStringList& args, QTextStream& out, QTextStream& err);
