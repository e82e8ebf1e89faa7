#pragma once
// A dialog template as data: every dialog and page of the program is built from one of these by
// CDialogBuilder. Positions and sizes are in dialog units, as the radio program has always used.

#include "res/ControlIds.h"

#include <string>
#include <vector>

enum class ControlKind
{
    Static,       // label, left aligned
    StaticCenter, // label, centred
    Icon,         // the program icon
    GroupBox,     // frame with a title; controls "inside" it are its siblings
    PushButton,
    DefPushButton, // the dialog's default button (Enter)
    CheckBox,
    RadioButton,
    Edit,      // single-line edit
    ComboList, // drop-down list without typing; the height is that of the open list
    ListBox,
    ScrollBarH,
    Progress,
    Custom, // made by the owner's factory (the grid, the tab control)
};

// Style bits of a control.
enum ControlStyle : unsigned
{
    CS_NONE = 0,
    CS_HIDDEN = 1u << 0,   // created invisible
    CS_DISABLED = 1u << 1, // created disabled
    CS_READONLY = 1u << 2,
    CS_PASSWORD = 1u << 3,
    CS_BORDER = 1u << 4,
};

struct ControlTemplate
{
    int id = idc::Static;
    const char* name = ""; // the identifier's name, the widget's objectName; empty for idc::Static
    ControlKind kind = ControlKind::Static;
    std::string text; // built-in text (UTF-8), kept where the language file has none
    int x = 0, y = 0, w = 0, h = 0;
    unsigned style = CS_NONE;
};

// A control's identifier and its name, written once: {IDC(Squelch), ControlKind::ComboList, ...}
// with the template's namespace of res/ControlIds.h in use.
#define IDC(name) name, #name

struct DialogTemplate
{
    int id = 0;          // template number: also the caption key of section "Resource"
    std::string caption; // built-in caption
    int w = 0, h = 0;    // client size in dialog units
    std::vector<ControlTemplate> controls;
};

// Templates of the program, one file each under res/.
extern const DialogTemplate g_dlgAbout;           // 100
extern const DialogTemplate g_dlgView;            // 101
extern const DialogTemplate g_dlgPort;            // 130
extern const DialogTemplate g_dlgLanguage;        // 131
extern const DialogTemplate g_dlgProgress;        // 132
extern const DialogTemplate g_dlgPassword;        // 134
extern const DialogTemplate g_dlgVfo;             // 135
extern const DialogTemplate g_dlgChannel;         // 150
extern const DialogTemplate g_dlgFunction;        // 151
extern const DialogTemplate g_dlgRadiogram;       // 155
extern const DialogTemplate g_dlgTestMode;        // 156
extern const DialogTemplate g_dlgServiceProgress; // the test mode's read all / write all
extern const DialogTemplate g_dlgBackups;         // 170
extern const DialogTemplate g_dlgFleet;           // 165
