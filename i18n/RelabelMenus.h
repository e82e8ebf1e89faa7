#pragma once
// Retitles the main window's menu bar from the "Menu_" keys of section "String".
//
// Convention of the main window's menus: every command item is a QAction whose data() holds its
// command number (res/CommandIds.h) as an int. Recent-file entries and separators are not among
// the relabelled numbers and are left alone.

class QMenuBar;

void RelabelMenus(QMenuBar* menuBar);
