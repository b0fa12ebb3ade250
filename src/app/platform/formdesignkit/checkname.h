#pragma once

#include <QString>

// True when `name` is a valid name of a visual-form component: an identifier
// whose first character is a letter or "_" and whose others are letters, marks,
// decimal digits or "_". Letters and digits are those of Unicode, not only
// Latin ones: the dictionaries name structures and components in their users'
// languages (Cyrillic above all), and those names must stay acceptable. Marks
// (combining accents, vowel signs) may follow a first letter so that a name
// typed in decomposed form passes as its composed twin does. Spaces,
// punctuation such as "." or "$", and the empty name are refused.
bool CheckName(const QString& name);
