#pragma once
// Control ids of the main dialog: the numbers of dialog 102, used as window ids. The Close button
// is the dialog's OK button.
#include <wx/defs.h>

enum : int {
  IDC_CLOSE = wxID_OK,
  IDC_PORT_COMBO = 1001,
  IDC_ID_COMBO = 1003,
  IDC_CONNECT = 1004,
  IDC_FIRMWARE_UPDATE = 1005,
  IDC_HELP_BUTTON = 1006,
  IDC_PROGRESS = 1007,
  IDC_QUERY_GROUP = 1008,
  IDC_ACTION_GROUP = 1009,
  IDC_START_HERE = 1010,
  IDC_QUERY_COMBO = 1011,
  IDC_QUERY_SEND = 1012,
  IDC_QUERY_DESCRIPTION = 1013,
  IDC_ACTION_COMBO = 1014,
  IDC_ACTION_DESCRIPTION = 1015,
  IDC_ACTION_SEND = 1016,
  IDC_ACTION_VALUE = 1017,
  IDC_CONFIG_GROUP = 1018,
  IDC_CONFIG_COMBO = 1019,
  IDC_CONFIG_DESCRIPTION = 1020,
  IDC_CONFIG_SEND = 1021,
  IDC_CONFIG_VALUE = 1022,
  IDC_RESET = 1023,
  IDC_DEFAULT = 1024,
  IDC_LOG = 1025,
  IDC_CLEAR_LOG = 1026,
  IDC_PLOT_PLACEHOLDER = 1027,
  IDC_TRACE1 = 1028,
  IDC_TRACE2 = 1029,
  IDC_TRACE3 = 1030,
  IDC_TRACE4 = 1031,
  IDC_ACTION1 = 1032,
  IDC_ACTION8 = 1039,
  IDC_RESTART = 1040,
  IDC_STOP_LIMP = 1041,
  IDC_POSITION_READOUT = 1042,
  IDC_TRACE5 = 1043,
  IDC_TRACE6 = 1044,
  IDC_TRACE7 = 1045,
  IDC_TRACE8 = 1046,
  IDC_LOAD = 1047,
  IDC_SAVE = 1048,
  IDC_STATUS_READOUT = 1049,
  IDC_PAUSE = 1050,
  IDC_FREE_FORMAT_SEND = 1051,
  IDC_ERROR_READOUT = 1052,
  IDC_FREE_FORMAT_TEXT = 1053,
  IDC_STOP_HOLD = 1054,
  IDC_TRACE1_VALUE = 1060,
};

inline constexpr int kTraceBoxIds[8] = {IDC_TRACE1, IDC_TRACE2, IDC_TRACE3, IDC_TRACE4,
                                        IDC_TRACE5, IDC_TRACE6, IDC_TRACE7, IDC_TRACE8};
inline constexpr int kTraceReadoutIds[8] = {1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067};
inline constexpr int kActionButtonIds[8] = {1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039};

// The About item of the system menu.
inline constexpr int IDM_ABOUTBOX = 16;

// The plot's title while "254 - All Servos" is selected: no trace samples the broadcast id.
inline constexpr const wchar_t* kAllServosPlotTitle = L"Disabled for Id=254";
