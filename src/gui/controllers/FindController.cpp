#include "gui/controllers/FindController.h"

#include "core/find/KeySearch.h"
#include "gui/controllers/NavigationController.h"
#include "gui/document/RegistryDocument.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/text/DisplayText.h"
#include "gui/text/Latin1Text.h"
#include "gui/window/Prompts.h"

namespace thornbeck {

FindController::FindController(const RegistryDocument& document, const RegistryListModel& listModel,
                               NavigationController& navigation, Prompts& prompts,
                               QWidget* dialogOwner)
    : QObject(dialogOwner),
      document(document),
      listModel(listModel),
      navigation(navigation),
      prompts(prompts),
      dialogOwner(dialogOwner) {
    setObjectName(QStringLiteral("findController"));
}

void FindController::find() {
    const auto answer = prompts.inputText(dialogOwner, QStringLiteral("Find"),
                                          QStringLiteral("Find Key:"), findText);
    if (!answer || answer->isEmpty()) return;
    findText = *answer;
    findNext();
}

void FindController::findNext() {
    const bool list = navigation.isListMode();
    QString found;
    // Keys and values are bytes: a character without a byte can match none of them.
    if (IsByteText(findText)) {
        KeySearch search(ToByteText(findText));
        found = list ? findInList(search) : findInTree(search);
    }
    if (!found.isNull()) {
        emit status(tr("Found %1").arg(found));
    } else if (list) {
        // The list compares keys only.
        emit status(tr("No key matches \"%1\"").arg(findText));
    } else {
        emit status(tr("No key or value matches \"%1\"").arg(findText));
    }
}

QString FindController::findInList(KeySearch& search) {
    const int current = navigation.listPosition();
    const size_t start = current >= 0 ? static_cast<size_t>(current) + 1 : 0;
    const auto found =
        FindNextListPosition(document.index(), listModel.displayOrder(), start, search);
    if (!found) return {};
    const auto position = static_cast<int>(*found - 1);
    navigation.selectListPosition(position);
    const int32_t row = listModel.displayOrder()[static_cast<size_t>(position)];
    return DisplayText(document.index().keyOf(document.index().rows()[static_cast<size_t>(row)]));
}

QString FindController::findInTree(KeySearch& search) {
    const int32_t current = navigation.shownNode();
    const size_t start = current >= 0 ? static_cast<size_t>(current) + 1 : 0;
    const auto found = FindNextTreeNode(document.image(), document.index(), start, search,
                                        RegistryTreeModel::kMaxShownDepth);
    if (!found) return {};
    navigation.showFoundNode(*found);
    return DisplayText(document.index().nodes()[static_cast<size_t>(*found)].key);
}

}  // namespace thornbeck
