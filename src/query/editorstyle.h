#pragma once

#include "editcolors.h"

class QsciScintilla;

// The registry key of the query editor's colours.
inline const QString kQueryEditorColorsKey = QStringLiteral("\\PELVAR\\QueryMemo\\EdSettings");

// The query editor's colours as it starts: the defaults, then what is stored.
TEditorColors StoredQueryEditorColors();
// Puts the colours and the font into the editor and its SQL highlighter
// (made when the editor has none).
void ApplyEditorColors(QsciScintilla& editor, const TEditorColors& colors);
