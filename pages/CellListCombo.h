#pragma once
// In-place drop-down list of the two-choice cells (and of the FM preset cells). A selection made by
// the user is reported by currentIndexChanged; selections made by the code are silent. Esc selects
// the original entry again and, like Enter, hands the focus back to the owner; in the dropped-down
// list Enter first chooses the highlighted entry, and both keys then act as on the closed list.

#include <QComboBox>

class CCellListCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit CCellListCombo(QWidget* parent = nullptr);
    ~CCellListCombo() override;

    // Opens over `rect` (owner's coordinates) on the first entry that begins with `text`.
    void BeginEdit(const QRect& rect, const QString& text);
    void EndEdit();
    bool IsOpen() const { return isEnabled() && isVisible(); }

    // Silently selects the first entry that begins with `text` (letter case ignored); false when none.
    bool SelectEntryStartingWith(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* e) override;
    // What Esc restores before the edit ends.
    virtual void RestoreOriginal();

private:
    QString m_strOriginal;
};
