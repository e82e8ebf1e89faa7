#pragma once
// The language dialog: lists every language file beside the program by its display name and makes
// the chosen one current.

#include <QDialog>
#include <functional>

class QComboBox;

class CLanguageDlg final : public QDialog
{
    Q_OBJECT
public:
    // `applyLanguage` brings every visible text in line with the new language (the application's
    // ApplyLanguage); it runs after OK whether or not the language changed.
    explicit CLanguageDlg(std::function<void()> applyLanguage, QWidget* parent = nullptr);
    ~CLanguageDlg() override;

    void accept() override; // OK

private:
    void FillList();

    std::function<void()> m_applyLanguage;
    QComboBox* m_list = nullptr;
};
