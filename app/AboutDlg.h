#pragma once
// The About box: program icon, product and version line, year line; closed with Esc or its close box.

#include <QDialog>

class CAboutDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);
    ~CAboutDlg() override;
};
