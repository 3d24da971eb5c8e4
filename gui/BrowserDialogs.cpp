// The main window's modal dialogs: each is made for one opening and released after it.
#include "core/Prompts.h"
#include "dialogs/TFInfo.h"
#include "dialogs/TFOptionen.h"
#include "dialogs/TFUeber.h"
#include "gui/TFBrowser.h"

void TFBrowser::TBXItem4Click() {
    Run([this] {
        TFInfo dialog(FSession.Catalogue(), FPrompts, this);
        FPrompts.ExecDialog(&dialog);
    });
}

void TFBrowser::TBXItem3Click() {
    Run([this] {
        TFOptionen dialog(FSession.Settings(), FPrompts, this);
        FPrompts.ExecDialog(&dialog);
    });
    // Also after Cancel, and when the dialog failed: the file types may have changed.
    Run([this] {
        const QString folder = TreeFolder();
        if (folder.isEmpty())
            return;
        ShowDetails(QString());
        ListFolder(folder);
    });
    UpdateInstallCommands();
}

void TFBrowser::TBXItem2Click() {
    Run([this] {
        TFUeber dialog(FPrompts, this, FPaths.PalmDesktopMissing);
        FPrompts.ExecDialog(&dialog);
    });
}
