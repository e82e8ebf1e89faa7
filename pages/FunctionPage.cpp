#include "pages/FunctionPage.h"

#include "i18n/LangText.h"
#include "i18n/RelabelDialog.h"
#include "pages/CodeEdit.h"
#include "radio/FunctionFields.h"
#include "radio/PttIdCode.h"
#include "radio/VantorDoc.h"
#include "res/ControlIds.h"
#include "res/DialogBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QSignalBlocker>

namespace {

constexpr int kTemplateId = 151;

QStringList ListTexts(const FunctionField& field)
{
    QStringList texts;
    switch (field.options) {
    case FieldOptions::Numbers:
        for (int i = 0; i <= field.highest; ++i)
            texts << QString::number(i);
        break;
    case FieldOptions::Timeout:
        texts << QString::fromStdString(LoadLangString("IDS_OFF"));
        for (int i = 1; i <= field.highest; ++i)
            texts << QString::number(i);
        break;
    case FieldOptions::Section:
        // A list never offers more entries than its field holds.
        for (const std::string& text : LoadOptionList(field.name)) {
            if (texts.size() > field.highest)
                break;
            texts << QString::fromStdString(text);
        }
        break;
    case FieldOptions::Check:
    case FieldOptions::InvertedCheck:
        break;
    }
    return texts;
}

} // namespace

CFunctionPage::CFunctionPage(CVantorDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    CDialogBuilder::Build(this, g_dlgFunction, [](int id, QWidget* parent) -> QWidget* {
        if (id == idc::function::PttIdCode)
            return new CCodeEdit(parent);
        return new QWidget(parent);
    });
    m_codeEdit = GetDlgItemAs<CCodeEdit>(this, idc::function::PttIdCode);
    m_codeEdit->installEventFilter(this);

    for (const FunctionField& field : FunctionSettings::kFields) {
        if (field.IsCheck())
            connect(GetDlgItemAs<QCheckBox>(this, field.control), &QCheckBox::clicked, this,
                    [this, &field](bool checked) { OnCheckClicked(field, checked); });
        else
            connect(GetDlgItemAs<QComboBox>(this, field.control), &QComboBox::currentIndexChanged, this,
                    [this, &field](int index) { OnListChanged(field, index); });
    }
    ReloadFromImage();
}

CFunctionPage::~CFunctionPage()
{
    // The edit outlives this part of the page while the children are destroyed.
    m_codeEdit->removeEventFilter(this);
}

void CFunctionPage::ReloadFromImage()
{
    RelabelDialog(this, kTemplateId);
    for (const FunctionField& field : FunctionSettings::kFields) {
        const int value = field.Shown(m_doc.GetSetting(field));
        if (field.IsCheck())
            GetDlgItemAs<QCheckBox>(this, field.control)->setChecked(value != 0);
        else
            FillList(field, value);
    }
    m_codeEdit->setMaxLength(6);
    m_codeEdit->setText(QString::fromStdString(PttIdCodeText(m_doc.GetPttIdCode())));
}

void CFunctionPage::FillList(const FunctionField& field, int value)
{
    auto* list = GetDlgItemAs<QComboBox>(this, field.control);
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(ListTexts(field));
    // A value the list does not offer leaves it without a selection (-1).
    list->setCurrentIndex(value);
}

void CFunctionPage::OnListChanged(const FunctionField& field, int index)
{
    if (index < 0) // no selection: a list never offers more than its field holds
        return;
    m_doc.SetSetting(field, index);
    m_doc.RecordEdit({"IDS_EDIT_SETTING"});
}

void CFunctionPage::OnCheckClicked(const FunctionField& field, bool checked)
{
    m_doc.SetSetting(field, field.Shown(checked ? 1 : 0));
    m_doc.RecordEdit({"IDS_EDIT_SETTING"});
}

void CFunctionPage::OnCodeFocusLost()
{
    const PttIdCodeBytes code = PttIdCodeFromText(m_codeEdit->text().toStdString());
    if (code == m_doc.GetPttIdCode())
        return;
    m_doc.SetPttIdCode(code);
    m_doc.RecordEdit({"IDS_EDIT_SETTING"});
}

bool CFunctionPage::eventFilter(QObject* watched, QEvent* event)
{
    // A popup (the edit's context menu) takes the focus only for a moment.
    if (watched == m_codeEdit && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        OnCodeFocusLost();
    return QWidget::eventFilter(watched, event);
}
