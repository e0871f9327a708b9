#pragma once

// Shared by the product and the test driver, which signals it as the agent would; no windows.h
// here, so that either can include it anywhere.

// Manual-reset event the agent signals to close every open dialog.
constexpr char kStopEventName[] = "Global\\MarlixZemClientUIStopEvent";
