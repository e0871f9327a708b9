#pragma once

// Captions more than one dialog shows, each a template and its translation key.

inline constexpr char kCancelLiteral[] = "Cancel";
inline constexpr char kPreviewLiteral[] = "Preview Action...";
inline constexpr char kRemindAgainLiteral[] = "Remind Again";
inline constexpr char kTakeActionLiteral[] = "Take Action Now";
inline constexpr char kHideLiteral[] = "Hide";
