#include "dialogs/StartFolderChoice.h"

StartFolderChoice ChooseUserDefined(const QString& folder,
                                    const std::function<QString()>& pickFolder) {
    const QString chosen = folder.isEmpty() ? pickFolder() : folder;
    if (chosen.isEmpty())
        return {false, QString()};
    return {true, chosen};
}
