#pragma once

#include <QString>

// basekit sits below the message catalogue and the localiser: its few messages
// ask for their text through this hook, which the platform installs while it
// exists. Without it the English text given beside the ID is used.
using TTextLookup = QString (*)(const QString& id, const QString& defaultText);
void SetTextLookup(TTextLookup lookup);
QString BaseText(const QString& id, const QString& defaultText);
