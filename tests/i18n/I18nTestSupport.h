// What the translation tests share: an environment as a user's shell would give it, and
// a program folder holding the built catalogues.
#pragma once

#include <QString>

// LANG as given (empty: unset), no LC_ALL, LC_MESSAGES or LANGUAGE, and the C library's
// locale taken from that as a program's start takes it.
void SetLanguageEnvironment(const QByteArray& lang);

// Copies the catalogues that the build made into folder/locale; returns that folder.
QString CopyBuiltCatalogues(const QString& folder);
