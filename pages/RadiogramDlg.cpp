#include "pages/RadiogramDlg.h"

CRadiogramDlg::CRadiogramDlg(CVantorDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc) {}

CRadiogramDlg::~CRadiogramDlg() = default;
