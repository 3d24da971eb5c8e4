// The Options dialog's rule for the start folder, apart from its widgets: "User defined"
// only stays chosen together with a folder.
#pragma once

#include <QString>
#include <functional>

struct StartFolderChoice {
    bool UserDefined = false; // else "Remember last directory"
    QString Folder;
};

// "User defined" was chosen with folder in the start-folder field. An empty field asks
// pickFolder for one (empty when the user cancels); still without a folder, the choice goes
// back to "Remember last directory" and the field stays empty.
StartFolderChoice ChooseUserDefined(const QString& folder,
                                    const std::function<QString()>& pickFolder);
