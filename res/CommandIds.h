#pragma once
// Command numbers of the main window's menu, toolbar and keyboard shortcuts. Each menu QAction
// carries its number in data(), so relabelling and tests find items by number.

namespace cmd {
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrintSetup = 57606;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintDirect = 57608; // no menu item or shortcut: print without the dialog
inline constexpr int FilePrintPreview = 57609;
inline constexpr int FileMru1 = 57616; // the recent files are 57616 to 57619
inline constexpr int AppAbout = 57664;
inline constexpr int AppExit = 57665;
inline constexpr int ReadFromRadio = 32771;
inline constexpr int WriteToRadio = 32772;
inline constexpr int CommPort = 32773;
inline constexpr int Language = 32774;
inline constexpr int HelpContents = 32775;
inline constexpr int NextLanguage = 32776; // toolbar only
inline constexpr int TestMode = 32779;
inline constexpr int RadioPresets = 32780;
inline constexpr int FileImportCsv = 32781;
inline constexpr int FileExportCsv = 32782;
inline constexpr int FileBackups = 32790;
inline constexpr int WriteSeveral = 32783;
// The Edit menu; cut, copy, paste and undo keep the numbers the accelerator table always gave them.
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditPaste = 57637;
inline constexpr int EditSelectAll = 57642;
inline constexpr int EditUndo = 57643;
inline constexpr int EditRedo = 57644;
inline constexpr int EditInsertChannel = 32800;
inline constexpr int EditDeleteChannels = 32801;
inline constexpr int EditMoveUp = 32802;
inline constexpr int EditMoveDown = 32803;
} // namespace cmd
