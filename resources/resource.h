#pragma once

// Resource and control ids, grouped per dialog. Shared by the .rc file, the dialogs and the tests'
// driver.

#define IDI_APPLICATION_ICON 101

// Pre-action dialog (ACTIONUI)
#define IDD_PREACTION 102
// Preview window
#define IDD_PREVIEW 103
// Progress dialog (PROGRESS)
#define IDD_PROGRESS 108
// Reminder dialog (REMIND)
#define IDD_REMINDER 109

// Controls
#define IDC_DEADLINE 1001
#define IDC_ACTION_MESSAGE 1002
#define IDC_PREVIEW_BUTTON 1003
#define IDC_ACTION_BUTTON 1004
#define IDC_CANCEL_BUTTON 1005
#define IDC_PREVIEW_TEXT 1008
#define IDC_COUNTDOWN 1017
#define IDC_REMIND_BUTTON 1018
#define IDC_PROGRESS_MESSAGE 1019
#define IDC_HIDE_BUTTON 1020
#define IDC_TAKE_ALL_BUTTON 1021
#define IDC_ACTION_GROUP 1023
#define IDC_REMIND_COMBO 1025
#define IDC_ACTION_COMBO 1026
#define IDC_MORE_INFO_BUTTON 1028
#define IDC_SUMMARY 1029
// Hidden labels: a screen reader names a box or list by the static just before it in z-order.
#define IDC_MESSAGE_LABEL 1030
#define IDC_REMIND_LABEL 1031
#define IDC_ACTION_LABEL 1032
#define IDC_PREVIEW_LABEL 1033
