// The translation lookup of user-visible texts. Texts are looked up in the catalogue of
// the domain "default" each time they are shown, so a language switch reaches every
// window that is built afterwards.
#pragma once

#include <QString>

// Marks a text for extraction into the catalogue template and looks it up.
QString Translated(const char* text);

// Marks a text for extraction only (for tables of texts that are looked up later).
#define N_(text) text

// The language the user interface starts in when none is chosen: LANG up to its first
// ".", else the user's locale (for example "de_DE").
QString DefaultLanguage();
