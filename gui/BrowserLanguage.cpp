// The main window's part of translation: choosing the language at start-up and the
// "Language" menu, whose choice takes effect at the next start.
#include "common/IniFile.h"
#include "core/Prompts.h"
#include "gui/MenuCaption.h"
#include "gui/TFBrowser.h"
#include "i18n/Translate.h"

#include <QAction>
#include <QMenu>

void TFBrowser::ChooseLanguage() {
    // The menu names the languages in the start-up language: someone who picked a
    // language they cannot read still finds their own in the menu.
    FLanguages = InstalledLanguages(FPaths.LocaleFolder());
    // Only the language is needed this early; LoadSettings reads the file in full (and
    // reports a file that cannot be read).
    IniFile ini(FPaths.SettingsPath());
    ini.Load();
    UseLanguage(ReadSettings(ini, DefaultLanguage()).Language);
}

void TFBrowser::BuildLanguageMenu() {
    for (qsizetype i = 0; i < FLanguages.Codes.size(); ++i) {
        const QString& code = FLanguages.Codes[i];
        QAction* item = LanguageMenu->addAction(
            MenuCaption(FLanguages.Names[i] + QStringLiteral(" (") + code + QLatin1Char(')')));
        item->setData(code);
        item->setStatusTip(code);
        connect(item, &QAction::triggered, this,
                [this, item] { Run([this, item] { LanguageItemClick(item); }); });
    }
    FLanguages = TGTLanguageList();
}

void TFBrowser::LanguageItemClick(QAction* item) {
    FSession.Settings().Language = item->data().toString();
    FPrompts.Information(this, Translated("Restart Brisko to apply the new language."));
}
