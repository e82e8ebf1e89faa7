#pragma once
// Relabels a dialog or page from section "Resource" of the current language file: the caption from
// the template number, each direct child from its control id; empty values keep the built-in text.

#include <QString>

class QWidget;

// The text the current language file gives for a number of section "Resource" (a dialog or a
// control id); empty when it gives none, which keeps the built-in text.
QString ResourceText(int key);

void RelabelDialog(QWidget* dialog, int templateId);
