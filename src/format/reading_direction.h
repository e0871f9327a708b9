#pragma once

// Whether the dialogs are laid out right to left: the translation in effect decides, through the
// key kReadingDirectionKey. Portable, so that a translation checker answers as the dialogs do.

// A translation for a right-to-left script maps this key to kRightToLeftValue.
inline constexpr char kReadingDirectionKey[] = "default:LTR";
inline constexpr char kRightToLeftValue[] = "default:RTL";

// True only when the translation maps the key to exactly kRightToLeftValue. Without a translation,
// or with a value that fails to localize, the layout stays left to right: a broken entry must not
// mirror a dialog, and it must not end one either.
bool IsRightToLeftTranslation();
