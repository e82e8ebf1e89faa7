#include "pages/FunctionPage.h"

#include "i18n/LangText.h"
#include "i18n/RelabelDialog.h"
#include "pages/CodeEdit.h"
#include "radio/PttIdCode.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QSignalBlocker>

// What fills a drop-down list of the page.
enum class ListSource
{
    Numbers, // "0" .. count-1
    Timeout, // "IDS_OFF", then 1 .. count-1
    Section, // an option section of the language file
};

struct FunctionListField
{
    int id;
    ListSource source;
    const char* section;
    int count; // the values the field holds: a list never offers more entries
    int (CVantorDoc::*get)() const;
    void (CVantorDoc::*set)(int);
};

struct FunctionCheckField
{
    int id;
    int (CVantorDoc::*get)() const;
    void (CVantorDoc::*set)(int);
};

namespace {

constexpr int kTemplateId = 151;
constexpr int kCodeEditId = 1061;

// In the order the page loads them.
const FunctionListField kLists[] = {
    {1026, ListSource::Numbers, nullptr, 10, &CVantorDoc::GetSquelchLevel, &CVantorDoc::SetSquelchLevel},
    {1028, ListSource::Section, "ScanType", 3, &CVantorDoc::GetScanType, &CVantorDoc::SetScanType},
    {1035, ListSource::Section, "FreqMode", 2, &CVantorDoc::GetFreqMode, &CVantorDoc::SetFreqMode},
    {1037, ListSource::Section, "PttId", 4, &CVantorDoc::GetPttId, &CVantorDoc::SetPttId},
    {1041, ListSource::Section, "RadiogramWorkMode", 2, &CVantorDoc::GetRadiogramWorkMode,
     &CVantorDoc::SetRadiogramWorkMode},
    {1043, ListSource::Section, "RadioWorkModeA", 2, &CVantorDoc::GetRadioWorkModeA,
     &CVantorDoc::SetRadioWorkModeA},
    {1045, ListSource::Section, "RadioWorkModeB", 2, &CVantorDoc::GetRadioWorkModeB,
     &CVantorDoc::SetRadioWorkModeB},
    {1047, ListSource::Section, "LockMode", 2, &CVantorDoc::GetLockMode, &CVantorDoc::SetLockMode},
    {1049, ListSource::Timeout, nullptr, 8, &CVantorDoc::GetTxTimeout, &CVantorDoc::SetTxTimeout},
    {1051, ListSource::Section, "TxDtr", 4, &CVantorDoc::GetTxDtr, &CVantorDoc::SetTxDtr},
    {1054, ListSource::Section, "ChannelShowedF1", 3, &CVantorDoc::GetChannelShowedF1,
     &CVantorDoc::SetChannelShowedF1},
    {1056, ListSource::Section, "ChannelShowedF2", 3, &CVantorDoc::GetChannelShowedF2,
     &CVantorDoc::SetChannelShowedF2},
    {1059, ListSource::Numbers, nullptr, 10, &CVantorDoc::GetVoxLevel, &CVantorDoc::SetVoxLevel},
};

// The beep box shows the inverse of the stored "beep off" bit; the document's accessor does that.
const FunctionCheckField kChecks[] = {
    {1030, &CVantorDoc::GetRogerBeep, &CVantorDoc::SetRogerBeep},
    {1031, &CVantorDoc::GetBeepOn, &CVantorDoc::SetBeepOn},
    {1032, &CVantorDoc::GetBacklight, &CVantorDoc::SetBacklight},
    {1033, &CVantorDoc::GetPowerSave, &CVantorDoc::SetPowerSave},
    {1029, &CVantorDoc::GetDualWatch, &CVantorDoc::SetDualWatch},
    {1038, &CVantorDoc::GetFmRadio, &CVantorDoc::SetFmRadio},
    {1039, &CVantorDoc::GetVoicePrompt, &CVantorDoc::SetVoicePrompt},
    {1052, &CVantorDoc::GetAniTx, &CVantorDoc::SetAniTx},
    {1057, &CVantorDoc::GetSideTone, &CVantorDoc::SetSideTone},
};

QStringList ListTexts(const FunctionListField& field)
{
    QStringList texts;
    switch (field.source) {
    case ListSource::Numbers:
        for (int i = 0; i < field.count; ++i)
            texts << QString::number(i);
        break;
    case ListSource::Timeout:
        texts << QString::fromStdString(LoadLangString("IDS_OFF"));
        for (int i = 1; i < field.count; ++i)
            texts << QString::number(i);
        break;
    case ListSource::Section:
        for (const std::string& text : LoadOptionList(field.section)) {
            if (texts.size() == field.count)
                break;
            texts << QString::fromStdString(text);
        }
        break;
    }
    return texts;
}

} // namespace

CFunctionPage::CFunctionPage(CVantorDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    CDialogBuilder::Build(this, g_dlgFunction, [](int id, QWidget* parent) -> QWidget* {
        if (id == kCodeEditId)
            return new CCodeEdit(parent);
        return new QWidget(parent);
    });
    m_codeEdit = GetDlgItemAs<CCodeEdit>(this, kCodeEditId);
    m_codeEdit->installEventFilter(this);

    for (const FunctionListField& field : kLists) {
        auto* list = GetDlgItemAs<QComboBox>(this, field.id);
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, &field](int index) { OnListChanged(field, index); });
    }
    for (const FunctionCheckField& field : kChecks) {
        auto* box = GetDlgItemAs<QCheckBox>(this, field.id);
        connect(box, &QCheckBox::clicked, this,
                [this, &field](bool checked) { OnCheckClicked(field, checked); });
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
    for (const FunctionListField& field : kLists)
        FillList(field);

    m_codeEdit->setMaxLength(6);
    m_codeEdit->setText(QString::fromStdString(PttIdCodeText(m_doc.GetPttIdCode())));

    for (const FunctionCheckField& field : kChecks)
        GetDlgItemAs<QCheckBox>(this, field.id)->setChecked((m_doc.*field.get)() != 0);
}

void CFunctionPage::FillList(const FunctionListField& field)
{
    auto* list = GetDlgItemAs<QComboBox>(this, field.id);
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(ListTexts(field));
    // A value the list does not offer leaves it without a selection.
    const int value = (m_doc.*field.get)();
    list->setCurrentIndex(value < list->count() ? value : -1);
}

void CFunctionPage::OnListChanged(const FunctionListField& field, int index)
{
    if (index < 0 || index >= field.count)
        return;
    (m_doc.*field.set)(index);
    m_doc.SetModifiedFlag();
}

void CFunctionPage::OnCheckClicked(const FunctionCheckField& field, bool checked)
{
    (m_doc.*field.set)(checked ? 1 : 0);
    m_doc.SetModifiedFlag();
}

void CFunctionPage::OnCodeFocusLost()
{
    const PttIdCodeBytes code = PttIdCodeFromText(m_codeEdit->text().toStdString());
    if (code == m_doc.GetPttIdCode())
        return;
    m_doc.SetPttIdCode(code);
    m_doc.SetModifiedFlag();
}

bool CFunctionPage::eventFilter(QObject* watched, QEvent* event)
{
    // A popup (the edit's context menu) takes the focus only for a moment.
    if (watched == m_codeEdit && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        OnCodeFocusLost();
    return QWidget::eventFilter(watched, event);
}
