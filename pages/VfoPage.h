#pragma once
// The VFO tab: two groups, F1 editing record 0 and F2 editing record 130, with every field of the
// record shown at once. Lists write at once; the two frequencies of a group are committed together
// when either of its frequency edits loses the focus.

#include "pages/ImagePage.h"

#include <QWidget>

class CVantorDoc;
struct VfoGroup;
struct ChannelChoiceField;

class CVfoPage final : public QWidget, public IImagePage
{
    Q_OBJECT
public:
    explicit CVfoPage(CVantorDoc& doc, QWidget* parent);
    ~CVfoPage() override;

    void ReloadFromImage() override;
    // Every key stays with the page's fields: Ctrl+C in a frequency copies.
    bool ForwardsShortcuts() const override { return false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadLists(const VfoGroup& group);
    void ShowFrequencies(const VfoGroup& group);
    void LoadStepList(const VfoGroup& group);
    void CommitFrequencies(const VfoGroup& group);
    void OnToneChanged(const VfoGroup& group, bool receive, int index);
    void OnChoiceChanged(const VfoGroup& group, const ChannelChoiceField& field, int index);
    void OnStepChanged(const VfoGroup& group, int index);

    CVantorDoc& m_doc;
};
