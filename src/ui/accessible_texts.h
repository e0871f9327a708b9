#pragma once

// Texts a screen reader speaks but the screen never shows: the names of the controls that have no
// caption of their own. They are templates like every caption, so each translation covers them.

// Hidden labels, one before each box and list in z-order: a reader names a control by the static
// just before it, and without one it would take the countdown, which changes every second.
inline constexpr char kMessageLabelLiteral[] = "Message";
inline constexpr char kRemindListLabelLiteral[] = "Remind me again";
inline constexpr char kActionListLabelLiteral[] = "Pending action";
inline constexpr char kPreviewLabelLiteral[] = "Preview";
