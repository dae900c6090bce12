#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace thornbeck {

class KeySearch;
class NavigationController;
class Prompts;
class RegistryDocument;
class RegistryListModel;

// Find and Find Next: asks for a text, remembers it, and finds it from the selection on in the
// view the window shows (keys in the list; keys and values in the tree).
class FindController : public QObject {
    Q_OBJECT
public:
    FindController(const RegistryDocument& document, const RegistryListModel& listModel,
                   NavigationController& navigation, Prompts& prompts, QWidget* dialogOwner);

    // Asks for a text and finds it; Find Next finds it again from the selection.
    void find();
    void findNext();
    const QString& searchText() const { return findText; }

signals:
    // What just happened, for the status bar.
    void status(const QString& text);

private:
    // Each selects and shows the next hit and returns its key; "" when there is none.
    QString findInList(KeySearch& search);
    QString findInTree(KeySearch& search);

    const RegistryDocument& document;
    const RegistryListModel& listModel;
    NavigationController& navigation;
    Prompts& prompts;
    QWidget* dialogOwner;
    QString findText;
};

}  // namespace thornbeck
