#pragma once

#include <QString>
#include <QUrl>
#include <functional>

// The program's help pages, built into the executable (resources/help), are
// shown by the system's browser: the page is copied out to the cache folder
// and opened from there.

// Opens the built-in page `page` ("doc_find.html"); a page that is missing or
// cannot be shown is one message naming it.
void ShowHelpPage(const QString& page);

// What opens a page's local file; tests replace it. Returns the previous one.
using THelpPageOpener = std::function<bool(const QUrl& file)>;
THelpPageOpener SetHelpPageOpener(THelpPageOpener opener);
