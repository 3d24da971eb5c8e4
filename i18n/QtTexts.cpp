#include "i18n/QtTexts.h"

#include "i18n/Translate.h"

#include <array>
#include <cstring>
#include <libintl.h>

namespace {

// The contexts Qt looks its button texts up in: the platform theme's defaults, the
// GNOME theme's own captions, and the message box's details button.
constexpr std::array<const char*, 3> Contexts{"QPlatformTheme", "QGnomeTheme", "QMessageBox"};

// Marked here so that they reach the catalogue template; texts of those contexts that
// are not listed keep Qt's English.
constexpr std::array<const char*, 25> Texts{N_("OK"),
                                            N_("Save"),
                                            N_("Save All"),
                                            N_("Open"),
                                            N_("&Yes"),
                                            N_("Yes to &All"),
                                            N_("&No"),
                                            N_("N&o to All"),
                                            N_("Abort"),
                                            N_("Retry"),
                                            N_("Ignore"),
                                            N_("Close"),
                                            N_("Cancel"),
                                            N_("Discard"),
                                            N_("Help"),
                                            N_("Apply"),
                                            N_("Reset"),
                                            N_("Restore Defaults"),
                                            N_("&OK"),
                                            N_("&Save"),
                                            N_("&Cancel"),
                                            N_("&Close"),
                                            N_("Close without Saving"),
                                            N_("Show Details..."),
                                            N_("Hide Details...")};

bool Listed(const char* text, const auto& table) {
    for (const char* entry : table)
        if (std::strcmp(entry, text) == 0)
            return true;
    return false;
}

} // namespace

QString QtTextsTranslator::translate(const char* context, const char* sourceText,
                                     const char* /*disambiguation*/, int /*n*/) const {
    if (!context || !sourceText || !Listed(context, Contexts) || !Listed(sourceText, Texts))
        return QString();
    const char* translation = dgettext("default", sourceText);
    // An empty result tells Qt to ask the next translator or keep its English.
    return translation == sourceText ? QString() : QString::fromUtf8(translation);
}
