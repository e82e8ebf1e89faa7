#pragma once
// Retitles the main window's menu bar from the "Menu_" keys of section "String".
//
// Convention of the main window's menus: every command item is a QAction whose data() holds its
// command number as an int (57600 New, 32771 Read from radio, ...). Recent-file entries and
// separators carry no command number and are left alone.

class QMenuBar;

void RelabelMenus(QMenuBar* menuBar);
