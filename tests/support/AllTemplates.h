#pragma once
// Every dialog template of the program, for the tests that check them all.

#include "res/DialogTemplate.h"

inline const DialogTemplate* const kAllTemplates[] = {
    &g_dlgAbout,   &g_dlgView,    &g_dlgPort,     &g_dlgLanguage,  &g_dlgProgress, &g_dlgPassword,
    &g_dlgVfo,     &g_dlgChannel, &g_dlgFunction, &g_dlgRadiogram, &g_dlgTestMode, &g_dlgServiceProgress,
    &g_dlgBackups, &g_dlgFleet,
};
