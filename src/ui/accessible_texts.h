#pragma once

// Texts a screen reader speaks but the screen never shows: the names of the controls that have no
// caption of their own, and the key a translation uses to ask for a right-to-left layout. They are
// templates like every caption, so each translation covers them.

// Hidden labels, one before each box and list in z-order: a reader names a control by the static
// just before it, and without one it would take the countdown, which changes every second.
inline constexpr char kMessageLabelLiteral[] = "Message";
inline constexpr char kRemindListLabelLiteral[] = "Remind me again";
inline constexpr char kActionListLabelLiteral[] = "Pending action";
inline constexpr char kPreviewLabelLiteral[] = "Preview";

// A translation for a right-to-left script maps this key to kRightToLeftValue.
inline constexpr char kReadingDirectionKey[] = "default:LTR";
inline constexpr char kRightToLeftValue[] = "default:RTL";
