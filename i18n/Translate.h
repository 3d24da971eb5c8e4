// The translation lookup of user-visible texts, through GNU gettext catalogues in the
// folder "locale" beside the program: locale/<code>/LC_MESSAGES/<domain>.mo, with the
// domain "default" for the user interface and "languages" for the names of languages.
//
// Texts are looked up with Translated() when a window or control is made, so every
// window made after the language is chosen appears in that language; the main window
// chooses it before it makes its controls. Texts that show data (file names, folders,
// header values) are set without the lookup and so are never translated. One language
// holds for the whole run once the main window exists.
#pragma once

#include <QString>

// Marks a text for extraction into the catalogue template and looks it up.
QString Translated(const char* text);

// Marks a text with a count for extraction (its English singular and plural) and looks up
// the form the language uses for n (German and English: one, other; other languages have
// more forms). The caller fills the count in.
QString TranslatedPlural(const char* singular, const char* plural, unsigned long n);

// Marks a text for extraction only (for tables of texts that are looked up later).
#define N_(text) text

// The lookup in a named domain, for texts made at run time (the names of languages).
QString TranslatedIn(const char* domain, const QString& text);

// The language the user interface starts in when none is chosen: LANG up to its first
// ".", else the user's locale (for example "de_DE").
QString DefaultLanguage();

// Start of the translation engine, before any window: binds "default" and "languages"
// to localeFolder (UTF-8 output), makes "default" the default domain, routes Qt's own
// standard texts (message-box buttons) through "default", and starts in
// DefaultLanguage(). Safe to call again, for example with another folder.
void InitTranslation(const QString& localeFolder);

// Switches the lookup to a language code such as "de", "de_AT" or "pt_br"; an empty
// code keeps the current one. A code ll_CC without a catalogue of its own is served by
// the catalogue of ll; folder names match without regard to case. A code without any
// catalogue leaves every text English. Works whatever locale the environment has,
// LANG=C included.
void UseLanguage(const QString& code);

// The language in use: the start-up default, or the code last given to UseLanguage.
QString CurrentLanguage();

// The folder InitTranslation bound the catalogues to; empty before it.
QString LocaleFolder();

// The "Last-Translator" of the current language's "default" catalogue (field names
// compare without regard to case), or empty when there is no catalogue or no such field.
QString CurrentTranslator();

// The value of one field of a catalogue header ("Name: value" lines); empty when absent.
QString CatalogueHeaderField(const QString& header, const QString& field);
