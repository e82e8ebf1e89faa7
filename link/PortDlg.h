#pragma once
// The communication port dialog: the user picks the programming cable's port among COM1 to COM8.
// Ports that cannot be opened now are shown disabled; each button's tooltip names its device.

#include <QDialog>
#include <functional>

class CSerialPort;

class CPortDlg final : public QDialog
{
    Q_OBJECT
public:
    // `showPortInStatusBar` shows the configured port in the main window's status bar after OK.
    explicit CPortDlg(CSerialPort& port, std::function<void(int)> showPortInStatusBar,
                      QWidget* parent = nullptr);
    ~CPortDlg() override;

    void accept() override; // OK

private:
    void ProbePorts(int configured);
    void OnSearchClicked(bool checked);

    CSerialPort& m_port;
    std::function<void(int)> m_showPortInStatusBar;
};
