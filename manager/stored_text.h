// Texts the user types for the settings store or a dictionary's header
// (library names, name, author, notes, password) are kept in Windows-1250.
// A text with characters it cannot hold is refused, naming them, rather
// than stored with "?" in their place.
#pragma once

#include <QString>

class QWidget;

// Each character of `text` that Windows-1250 cannot hold, once, in the
// order of its first appearance: "λ (U+03BB)", joined by ", ". Empty when
// every character fits.
[[nodiscard]] QString UnstorableCharacters(const QString& text);

// True when every character of `text` fits; otherwise says which do not and
// why, in `parent`, and returns false.
[[nodiscard]] bool CheckStorable(QWidget* parent, const QString& text);
