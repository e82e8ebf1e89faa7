#pragma once
// Identifiers of the controls of the program's dialogs and pages. A control's identifier is also
// its key in the language file's [Resource] section, and the dialog builder gives each control the
// identifier's name as objectName, so tests find controls by name. Plain C++: the core's tables of
// settings name the controls that show them.

// The function settings page (template 151). Labels end in "Label"; the field itself has no suffix.
namespace idc::function {
inline constexpr int SquelchLabel = 1025;
inline constexpr int Squelch = 1026;
inline constexpr int ScanTypeLabel = 1027;
inline constexpr int ScanType = 1028;
inline constexpr int DualWatch = 1029;
inline constexpr int RogerBeep = 1030;
inline constexpr int KeyBeep = 1031;
inline constexpr int Backlight = 1032;
inline constexpr int BatterySave = 1033;
inline constexpr int FreqModeLabel = 1034;
inline constexpr int FreqMode = 1035;
inline constexpr int PttIdLabel = 1036;
inline constexpr int PttId = 1037;
inline constexpr int FmRadio = 1038;
inline constexpr int VoicePrompt = 1039;
inline constexpr int RadiogramWorkModeLabel = 1040;
inline constexpr int RadiogramWorkMode = 1041;
inline constexpr int WorkModeALabel = 1042;
inline constexpr int WorkModeA = 1043;
inline constexpr int WorkModeBLabel = 1044;
inline constexpr int WorkModeB = 1045;
inline constexpr int LockModeLabel = 1046;
inline constexpr int LockMode = 1047;
inline constexpr int TxTimeoutLabel = 1048;
inline constexpr int TxTimeout = 1049;
inline constexpr int TxDtrLabel = 1050;
inline constexpr int TxDtr = 1051;
inline constexpr int AniTx = 1052;
inline constexpr int ChannelShowedF1Label = 1053;
inline constexpr int ChannelShowedF1 = 1054;
inline constexpr int ChannelShowedF2Label = 1055;
inline constexpr int ChannelShowedF2 = 1056;
inline constexpr int SideTone = 1057;
inline constexpr int VoxLevelLabel = 1058;
inline constexpr int VoxLevel = 1059;
inline constexpr int PttIdCodeLabel = 1060;
inline constexpr int PttIdCode = 1061;
} // namespace idc::function
