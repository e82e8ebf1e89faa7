#pragma once
// Relabels a dialog or page from section "Resource" of the current language file: the caption from
// the template number, each direct child from its control id; empty values keep the built-in text.

class QWidget;

void RelabelDialog(QWidget* dialog, int templateId);
