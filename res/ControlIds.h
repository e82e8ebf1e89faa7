#pragma once
// Identifiers of the controls of the program's dialogs and pages. A control's identifier is also
// its key in the language file's [Resource] section, and the dialog builder gives each control the
// identifier's name as objectName, so tests find controls by name. Plain C++: the core's tables of
// settings name the controls that show them.

// Shared by every dialog: the buttons, and the key of static texts without an identifier.
namespace idc {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Static = 65535;
} // namespace idc

// The About box (template 100).
namespace idc::about {
inline constexpr int Version = 1015;
} // namespace idc::about

// The editor view's form (template 101).
namespace idc::view {
inline constexpr int Tabs = 1016;
} // namespace idc::view

// The communication port dialog (template 130). Com1 to Com8 are consecutive.
namespace idc::port {
inline constexpr int Com1 = 1001;
inline constexpr int Com2 = 1002;
inline constexpr int Com3 = 1003;
inline constexpr int Com4 = 1004;
inline constexpr int Com5 = 1005;
inline constexpr int Com6 = 1006;
inline constexpr int Com7 = 1007;
inline constexpr int Com8 = 1008;
inline constexpr int PortGroup = 1011;
inline constexpr int SearchPort = 1012;
} // namespace idc::port

// The language dialog (template 131).
namespace idc::language {
inline constexpr int LanguageLabel = 1013;
inline constexpr int Language = 1014;
} // namespace idc::language

// The read/write progress dialog (template 132).
namespace idc::progress {
inline constexpr int Bar = 1009;
inline constexpr int Prompt = 1010;
inline constexpr int Verify = 1180; // writing only: read the radio again and compare
} // namespace idc::progress

// Writing one memory to several radios (template 165).
namespace idc::fleet {
inline constexpr int Prompt = 1181;
inline constexpr int Bar = 1182;
inline constexpr int Radios = 1183; // one line per radio written
inline constexpr int Write = 1184;
inline constexpr int Retry = 1185;
inline constexpr int Close = 1186;
} // namespace idc::fleet

// The test mode's read all / write all progress: the same two controls as the read/write progress.
namespace idc::serviceProgress {
inline constexpr int Bar = progress::Bar;
inline constexpr int Prompt = progress::Prompt;
} // namespace idc::serviceProgress

// The password asked before the test mode (template 134).
namespace idc::password {
inline constexpr int PasswordLabel = 1062;
inline constexpr int Password = 1063;
} // namespace idc::password

// The VFO page (template 135): group F1 edits the first VFO record, F2 the second.
namespace idc::vfo {
inline constexpr int GroupF1 = 1092;
inline constexpr int RxFreqF1Label = 1093;
inline constexpr int RxFreqF1 = 1094;
inline constexpr int TxFreqF1Label = 1095;
inline constexpr int TxFreqF1 = 1096;
inline constexpr int RxToneF1Label = 1097;
inline constexpr int RxToneF1 = 1098;
inline constexpr int TxToneF1Label = 1099;
inline constexpr int TxToneF1 = 1100;
inline constexpr int PowerF1Label = 1101;
inline constexpr int PowerF1 = 1102;
inline constexpr int BusyLockF1Label = 1103;
inline constexpr int BusyLockF1 = 1104;
inline constexpr int BandwidthF1Label = 1105;
inline constexpr int BandwidthF1 = 1106;
inline constexpr int ScanAddF1Label = 1107;
inline constexpr int ScanAddF1 = 1108;
inline constexpr int StepF1Label = 1109;
inline constexpr int StepF1 = 1110;
inline constexpr int ReverseF1Label = 1111;
inline constexpr int ReverseF1 = 1112;
inline constexpr int PttIdF1Label = 1113;
inline constexpr int PttIdF1 = 1114;
inline constexpr int CompanderF1Label = 1140;
inline constexpr int CompanderF1 = 1141;
inline constexpr int GroupF2 = 1115;
inline constexpr int RxFreqF2Label = 1116;
inline constexpr int RxFreqF2 = 1117;
inline constexpr int TxFreqF2Label = 1118;
inline constexpr int TxFreqF2 = 1119;
inline constexpr int RxToneF2Label = 1120;
inline constexpr int RxToneF2 = 1121;
inline constexpr int TxToneF2Label = 1122;
inline constexpr int TxToneF2 = 1123;
inline constexpr int PowerF2Label = 1124;
inline constexpr int PowerF2 = 1125;
inline constexpr int BusyLockF2Label = 1126;
inline constexpr int BusyLockF2 = 1127;
inline constexpr int BandwidthF2Label = 1128;
inline constexpr int BandwidthF2 = 1129;
inline constexpr int ScanAddF2Label = 1130;
inline constexpr int ScanAddF2 = 1131;
inline constexpr int StepF2Label = 1132;
inline constexpr int StepF2 = 1133;
inline constexpr int ReverseF2Label = 1134;
inline constexpr int ReverseF2 = 1135;
inline constexpr int PttIdF2Label = 1136;
inline constexpr int PttIdF2 = 1137;
inline constexpr int CompanderF2Label = 1142;
inline constexpr int CompanderF2 = 1143;
} // namespace idc::vfo

// The channel table page (template 150): the grid and the in-place editors of its cells.
namespace idc::channel {
inline constexpr int Grid = 1017;
inline constexpr int ModelLabel = 1018;
inline constexpr int Model = 1019;
inline constexpr int RangeLabel = 1020;
inline constexpr int Range = 1021;
inline constexpr int FreqEdit = 1022;
inline constexpr int Choice = 1023;
inline constexpr int NameEdit = 1024;
inline constexpr int RxTone = 1076;
inline constexpr int TxTone = 1077;
} // namespace idc::channel

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

// The FM broadcast presets dialog (template 155): the grid of presets and its in-place list.
namespace idc::radiogram {
inline constexpr int PresetList = 1078;
inline constexpr int Grid = 1079;
inline constexpr int FrequencyLabel = 1090;
inline constexpr int Frequency = 1091;
} // namespace idc::radiogram

// The test mode (template 156): the calibration items and the value of the selected one.
namespace idc::testMode {
inline constexpr int StartAdjust = 1138;
inline constexpr int WriteAll = 1139;
inline constexpr int ItemList = 1150;
inline constexpr int Value = 1151;
inline constexpr int ValueScroll = 1152;
inline constexpr int ReadAll = 1153;
inline constexpr int OpenData = 1154;
inline constexpr int SaveData = 1155;
} // namespace idc::testMode

// The backups dialog (template 170): the backup folder, the list of backups, the differences of the
// selected one against the program's memory.
namespace idc::backups {
inline constexpr int Folder = 1310;
inline constexpr int List = 1311;
inline constexpr int Differences = 1312;
inline constexpr int Open = 1313;
inline constexpr int Compare = 1314;
inline constexpr int Close = 1315;
} // namespace idc::backups
