#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "core/edit/DetailField.h"
#include "core/edit/ModifyEntry.h"
#include "gui/editing/EditedFields.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace thornbeck {

class DetailFieldEdit;
class HexView;
class ValueHexModel;

// The right-hand panel that shows one entry: the key line, the eight captioned fields, "< decimal"
// beside an editable Data Size, a note beside the Value (an Integer's number in decimal, the free
// bytes of a Binary or String), the hex view, the two information boxes, the credits and the
// Modify button, in layouts that grow with the panel. It is given the texts to show and keeps the
// user's edits in an EditedFields, which applies the input rules; it says when a field changed,
// a keystroke was refused or Modify was pressed. It never reads the image.
class DetailsPanel : public QWidget {
    Q_OBJECT
public:
    explicit DetailsPanel(QWidget* parent = nullptr);

    // The key line above the fields: the shown node's key, or a word while a file opens.
    void showKey(const QString& key);
    // A key folder: every field cleared and disabled.
    void showFolder();
    // An entry of `size` value bytes, as DescribeEntry gives it: the fields end exactly as the
    // image holds them. With a `readOnlyReason` nothing is editable, and Modify says why.
    void showEntry(const EntryDisplay& shown, int32_t size, const QString& readOnlyReason = {});
    // While a file opens: every field empty, with the read-only colour.
    void clearForLoading();
    // The key's description and typical value; empty texts hide the boxes.
    void showKeyInfo(const QString& description, const QString& typical);
    void setCredits(const QString& text, const QString& link);

    const EditedFields& edits() const { return fieldTexts; }
    ModifyRequest request() const { return fieldTexts.request(); }
    void focusField(int index);
    // Selects the whole text of the field that has the focus, if any.
    void selectFocusedField();
    void clearSelections();

    // Fields differ from the entry as shown, and Modify could apply them.
    bool hasUnappliedEdits() const { return fieldTexts.canApply(); }
    // Puts the fields back as the entry shows them.
    void dropEdits();

    QLineEdit* keyLine() const { return keyText; }
    QLineEdit* infoBox(int index) const { return infoBoxes[static_cast<size_t>(index)]; }
    HexView* hexView() const { return hexTable; }
    ValueHexModel* hexModel() const { return hexBytes; }
    QPushButton* modifyButton() const { return modify; }
    QLabel* creditsLabel() const { return credits; }
    DetailFieldEdit* field(int index) const { return fields[static_cast<size_t>(index)]; }
    QLabel* caption(int index) const { return captions[static_cast<size_t>(index)]; }
    QLabel* decimalNote() const { return decimal; }
    QLabel* valueNote() const { return valueSide; }
    int valueLimit() const { return fieldTexts.valueLimit(); }

signals:
    // Any change of a field's text, by the user or by the panel.
    void fieldChanged();
    // An entry was shown: every field now holds what the image holds.
    void entryShown();
    // A key typed into a field was refused, and why.
    void keystrokeRefused(const QString& why);
    void siblingRequested(int step);
    void modifyRequested();
    void creditsClicked(const QString& link);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createFields();
    void createLayout();
    // Empties every field and forgets the shown entry; `closeField` then leaves each field
    // disabled (a folder) or read-only (a file opening).
    void clearEntry(const std::function<void(int)>& closeField);
    void fieldEdited(int index);
    void sayRefused(int index, bool full);
    // Every field shows the texts and limits of `fieldTexts`; the field being typed in keeps its
    // caret. `fresh`: the texts are another entry's (or the entry's again), not an edit's.
    void showTexts(bool fresh = false);
    // The views that follow the fields: the hex view, the note beside the Value, Modify.
    void followFields();
    void moveFocus(int index, int step);
    void setEditable(int index, bool editable);
    // The window colour for an editable field, the button face for a read-only one.
    void setBackground(int index, bool editable);
    void setNumberTip(int index, const std::optional<uint64_t>& number);
    void setValueWide(bool wide);
    void hexByteEdited(int offset, uint8_t byte);

    QLineEdit* keyText = nullptr;
    std::array<QLabel*, kDetailFieldCount> captions{};
    std::array<DetailFieldEdit*, kDetailFieldCount> fields{};
    std::array<QLineEdit*, 2> infoBoxes{};
    QLabel* decimal = nullptr;
    QLabel* valueSide = nullptr;
    HexView* hexTable = nullptr;
    ValueHexModel* hexBytes = nullptr;
    QLabel* credits = nullptr;
    QString creditsLink;
    QPushButton* modify = nullptr;
    EditedFields fieldTexts;
    bool showing = false;  // the panel itself sets the fields' texts
};

}  // namespace thornbeck
