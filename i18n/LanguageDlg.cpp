#include "i18n/LanguageDlg.h"

#include "app/AppPaths.h"
#include "i18n/LanguageFiles.h"
#include "i18n/RelabelDialog.h"
#include "res/DialogBuilder.h"

#include <QComboBox>
#include <QPushButton>

namespace {

// Position that keeps the list sorted alphabetically, equal names after the ones already there.
int SortedPosition(const QComboBox* list, const QString& name)
{
    int i = 0;
    while (i < list->count() && QString::compare(list->itemText(i), name, Qt::CaseInsensitive) <= 0)
        ++i;
    return i;
}

} // namespace

CLanguageDlg::CLanguageDlg(std::function<void()> applyLanguage, QWidget* parent)
    : QDialog(parent), m_applyLanguage(std::move(applyLanguage))
{
    CDialogBuilder::Build(this, g_dlgLanguage);
    m_list = GetDlgItemAs<QComboBox>(this, idc::language::Language);
    connect(GetDlgItemAs<QPushButton>(this, idc::Ok), &QPushButton::clicked, this, &CLanguageDlg::accept);
    connect(GetDlgItemAs<QPushButton>(this, idc::Cancel), &QPushButton::clicked, this, &CLanguageDlg::reject);
    RelabelDialog(this, g_dlgLanguage.id);
    FillList();
}

CLanguageDlg::~CLanguageDlg() = default;

void CLanguageDlg::FillList()
{
    bool selected = false;
    for (const LanguageFileEntry& file : ListProgramLanguageFiles()) {
        const QString name = QString::fromStdString(LanguageDisplayName(file.path));
        if (name.isEmpty())
            continue; // an empty "disp" hides a file from the dialog (the toolbar still reaches it)
        m_list->insertItem(SortedPosition(m_list, name), name);
        if (!selected && SameLanguagePath(file.path, g_strLangFile)) {
            m_list->setCurrentIndex(m_list->findText(name, Qt::MatchStartsWith)); // without regard to case
            selected = true;
        }
    }
    // The first insertion selects an item by itself; without the current file nothing is selected.
    if (!selected)
        m_list->setCurrentIndex(-1);
}

void CLanguageDlg::accept()
{
    if (m_list->currentIndex() >= 0) {
        const std::string chosen = m_list->currentText().toStdString();
        // Names are compared exactly, so names that differ only in case stay apart; the first
        // file in listing order wins among equal names.
        for (const LanguageFileEntry& file : ListProgramLanguageFiles()) {
            const std::string name = LanguageDisplayName(file.path);
            if (!name.empty() && name == chosen) {
                MakeLanguageCurrent(file);
                break;
            }
        }
    }
    if (m_applyLanguage)
        m_applyLanguage();
    QDialog::accept();
}
