#pragma once

// Identifiers of the windows' controls. Each control's objectName is its symbolic name here, so that it can
// be found by name as well as by number; the numbers are those of the dialog templates.

inline constexpr int IDC_STATIC = -1;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Main window.
inline constexpr int IDC_PLAY = 1007;
inline constexpr int IDC_LOAD = 1020;
inline constexpr int IDC_DIAGNOSTICS = 1023;
inline constexpr int IDC_TRACK = 1029;
inline constexpr int IDC_LOOP = 1030;
inline constexpr int IDC_PARTITION_1 = 1031;
inline constexpr int IDC_PARTITION_2 = 1032;
inline constexpr int IDC_DEFAULT = 1033;
inline constexpr int IDC_DEVICE_TEXT = 1034;
inline constexpr int IDC_PARTITION_4 = 1035;
inline constexpr int IDC_PARTITION_8 = 1036;
inline constexpr int IDC_CAPACITY = 1040;
inline constexpr int IDC_TRACK_LABEL = 1041;

// Progress window.
inline constexpr int IDC_PROGRESS = 1014;
inline constexpr int IDC_PROGRESS_DETAIL = 1015;
inline constexpr int IDC_PROGRESS_TIME = 1016;

// Diagnostics window.
inline constexpr int IDC_TIPO1 = 1007;
inline constexpr int IDC_TIPO2 = 1017;
inline constexpr int IDC_TIPO8 = 1018;
inline constexpr int IDC_LOG = 1019;
inline constexpr int IDC_TIPO13_TEST = 1021;
inline constexpr int IDC_EEW = 1022;
inline constexpr int IDC_EER = 1023;
inline constexpr int IDC_RECEIVED = 1027;
inline constexpr int IDC_SENT = 1028;
inline constexpr int IDC_CHIUDI = 1035;
