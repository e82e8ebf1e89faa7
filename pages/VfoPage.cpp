#include "pages/VfoPage.h"

#include "i18n/LangText.h"
#include "i18n/RelabelDialog.h"
#include "pages/ToneCombo.h"
#include "radio/RadioImage.h"
#include "radio/VantorDoc.h"
#include "radio/VfoFrequency.h"
#include "res/DialogBuilder.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <utility>

// The controls of one VFO group and the record they edit.
struct VfoGroup
{
    int record;
    int side; // 0 F1, 1 F2: which of a choice's two lists is this group's
    int rxEdit, txEdit;
    int rxTone, txTone;
    int step;

    int ChoiceId(const ChannelChoiceField& field) const { return field.vfoLists[side]; }
};

namespace {

constexpr int kFrequencyLimit = 9;
constexpr int kStepCount = 6; // the radio's step indexes 0..5

using namespace idc::vfo;

const VfoGroup kGroups[] = {
    {ImageMap::kVfoA, 0, RxFreqF1, TxFreqF1, RxToneF1, TxToneF1, StepF1},
    {ImageMap::kVfoB, 1, RxFreqF2, TxFreqF2, RxToneF2, TxToneF2, StepF2},
};

bool IsToneId(int id)
{
    for (const VfoGroup& group : kGroups)
        if (id == group.rxTone || id == group.txTone)
            return true;
    return false;
}

void SelectSilently(QComboBox* list, int index)
{
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(index); // one the list does not offer leaves it without a selection
}

} // namespace

CVfoPage::CVfoPage(CVantorDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    CDialogBuilder::Build(this, g_dlgVfo, [](int id, QWidget* parent) -> QWidget* {
        if (IsToneId(id))
            return new CToneCombo(parent);
        return new QWidget(parent);
    });

    for (const VfoGroup& group : kGroups) {
        for (int id : {group.rxEdit, group.txEdit}) {
            auto* edit = GetDlgItemAs<QLineEdit>(this, id);
            edit->setMaxLength(kFrequencyLimit);
            edit->installEventFilter(this);
        }
        connect(GetDlgItemAs<CToneCombo>(this, group.rxTone), &QComboBox::currentIndexChanged, this,
                [this, &group](int index) { OnToneChanged(group, true, index); });
        connect(GetDlgItemAs<CToneCombo>(this, group.txTone), &QComboBox::currentIndexChanged, this,
                [this, &group](int index) { OnToneChanged(group, false, index); });
        for (const ChannelChoiceField& field : kChannelChoices)
            connect(GetDlgItemAs<QComboBox>(this, group.ChoiceId(field)), &QComboBox::currentIndexChanged,
                    this, [this, &group, &field](int index) { OnChoiceChanged(group, field, index); });
        connect(GetDlgItemAs<QComboBox>(this, group.step), &QComboBox::currentIndexChanged, this,
                [this, &group](int index) { OnStepChanged(group, index); });
    }
    ReloadFromImage();
}

CVfoPage::~CVfoPage()
{
    // The edits outlive this part of the page while the children are destroyed.
    for (const VfoGroup& group : kGroups)
        for (int id : {group.rxEdit, group.txEdit})
            GetDlgItem(this, id)->removeEventFilter(this);
}

void CVfoPage::ReloadFromImage()
{
    RelabelDialog(this, g_dlgVfo.id);
    for (const VfoGroup& group : kGroups)
        LoadLists(group);
    for (const VfoGroup& group : kGroups)
        ShowFrequencies(group);
    for (const VfoGroup& group : kGroups)
        LoadStepList(group);
}

void CVfoPage::LoadLists(const VfoGroup& group)
{
    for (const auto& [id, dir] :
         {std::pair{group.rxTone, ToneDir::Rx}, std::pair{group.txTone, ToneDir::Tx}}) {
        auto* tones = GetDlgItemAs<CToneCombo>(this, id);
        tones->FillToneList();
        SelectSilently(tones, m_doc.ToneIndex(group.record, dir));
    }
    for (const ChannelChoiceField& field : kChannelChoices) {
        auto* list = GetDlgItemAs<QComboBox>(this, group.ChoiceId(field));
        const QSignalBlocker quiet(list);
        list->clear();
        for (const char* key : field.texts)
            list->addItem(QString::fromStdString(LoadLangString(key)));
        list->setCurrentIndex(m_doc.GetChoice(group.record, field.choice));
    }
}

void CVfoPage::ShowFrequencies(const VfoGroup& group)
{
    GetDlgItemAs<QLineEdit>(this, group.rxEdit)
        ->setText(QString::fromStdString(m_doc.FrequencyText(group.record, FreqField::Rx)));
    GetDlgItemAs<QLineEdit>(this, group.txEdit)
        ->setText(QString::fromStdString(VfoTransmitText(m_doc, group.record)));
}

void CVfoPage::LoadStepList(const VfoGroup& group)
{
    auto* list = GetDlgItemAs<QComboBox>(this, group.step);
    {
        const QSignalBlocker quiet(list);
        list->clear();
        for (const std::string& text : LoadOptionList("Step")) {
            if (list->count() == kStepCount)
                break;
            list->addItem(QString::fromStdString(text));
        }
    }
    SelectSilently(list, m_doc.GetStepIndex(group.record));
}

void CVfoPage::CommitFrequencies(const VfoGroup& group)
{
    CommitVfoFrequencies(m_doc, group.record,
                         GetDlgItemAs<QLineEdit>(this, group.rxEdit)->text().toStdString(),
                         GetDlgItemAs<QLineEdit>(this, group.txEdit)->text().toStdString());
    m_doc.RecordEdit({"IDS_EDIT_VFO"});
    ShowFrequencies(group);
}

void CVfoPage::OnToneChanged(const VfoGroup& group, bool receive, int index)
{
    if (index < 0)
        return;
    m_doc.StoreToneIndex(group.record, receive ? ToneDir::Rx : ToneDir::Tx, index);
    m_doc.RecordEdit({"IDS_EDIT_VFO"});
}

void CVfoPage::OnChoiceChanged(const VfoGroup& group, const ChannelChoiceField& field, int index)
{
    if (index < 0)
        return;
    m_doc.SetChoice(group.record, field.choice, index);
    m_doc.RecordEdit({"IDS_EDIT_VFO"});
}

void CVfoPage::OnStepChanged(const VfoGroup& group, int index)
{
    if (index < 0)
        return;
    m_doc.SetStepIndex(group.record, index);
    m_doc.RecordEdit({"IDS_EDIT_VFO"});
}

bool CVfoPage::eventFilter(QObject* watched, QEvent* event)
{
    // A popup (an edit's context menu) takes the focus only for a moment.
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        const int id = GetDlgCtrlId(qobject_cast<QWidget*>(watched));
        for (const VfoGroup& group : kGroups)
            if (id == group.rxEdit || id == group.txEdit)
                CommitFrequencies(group);
    }
    return QWidget::eventFilter(watched, event);
}
